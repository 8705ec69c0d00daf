# points_preview: renders the point pass alone at chosen times into PNG files. A console program
# for developers; not shipped.
add_executable(points_preview points_preview.cpp)
target_include_directories(points_preview PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(points_preview PRIVATE orvane_offscreen)
