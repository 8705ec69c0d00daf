# Shared by the tools and the frame tests: the saver's frame rendered off screen, and PNG writing.
add_library(orvane_offscreen STATIC common/offscreen_frame.cpp common/png_writer.cpp)
target_include_directories(orvane_offscreen PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(orvane_offscreen PUBLIC orvane_core)
