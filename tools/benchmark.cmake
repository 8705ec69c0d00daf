# benchmark: the saver's frame timed off screen, pass by pass (GPU timer queries) and as a whole
# (wall time to glFinish), and its start-up from process creation to the first finished frame.
# A console program for developers; not shipped. scripts/benchmark.sh runs it under Wine.
add_executable(benchmark benchmark.cpp)
target_include_directories(benchmark PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(benchmark PRIVATE orvane_offscreen)
if(NOT MSVC)
    target_link_options(benchmark PRIVATE -municode)
endif()
