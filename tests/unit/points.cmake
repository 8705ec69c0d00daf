# Program building and the "points" program: its vertex stage read back through transform
# feedback, and its pass drawn by the saver's own frame code.
orvane_test(program_builder_test program_builder_test.cpp)
orvane_test(points_vertex_test points_vertex_test.cpp)
orvane_test(points_frame_test points_frame_test.cpp)
