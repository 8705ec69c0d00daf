# capture: one frame of the saver, rendered off screen through the saver's own set-up and passes,
# written as a PNG file. A console program for developers and the reference-image test; not shipped.
add_executable(capture capture.cpp)
target_include_directories(capture PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(capture PRIVATE orvane_offscreen)
if(NOT MSVC)
    target_link_options(capture PRIVATE -municode)
endif()
