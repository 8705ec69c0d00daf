orvane_test(gl_entry_points_test gl_entry_points_test.cpp)
orvane_test(gl_context_test gl_context_test.cpp)
# A driver that offers exactly OpenGL 3.3 core must still get the GL path.
add_test(NAME gl_context_test_gl33 COMMAND gl_context_test)
set_tests_properties(gl_context_test_gl33 PROPERTIES ENVIRONMENT MESA_GL_VERSION_OVERRIDE=3.3)
