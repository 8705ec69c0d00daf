# The software renderer: its pure values and layout, its set-up and failures, the static frame and
# the software frame read back from the DIB sections.
orvane_test(software_values_test software_values_test.cpp)
orvane_test(software_setup_test software_setup_test.cpp software_test_support.cpp)
orvane_test(software_static_test software_static_test.cpp software_test_support.cpp)
orvane_test(software_frame_test software_frame_test.cpp software_test_support.cpp)
