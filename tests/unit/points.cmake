# Program building and the "points" program: its vertex stage read back through transform
# feedback, and its rendered pass.
orvane_test(program_builder_test program_builder_test.cpp)
orvane_test(points_vertex_test points_vertex_test.cpp points_capture.cpp)
orvane_test(points_generators_test points_generators_test.cpp points_capture.cpp)
orvane_test(points_frame_test points_frame_test.cpp ${PROJECT_SOURCE_DIR}/tools/common/points_pass.cpp)
target_include_directories(points_frame_test PRIVATE ${PROJECT_SOURCE_DIR}/tools)
