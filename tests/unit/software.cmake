# The software renderer: its pure values and layout; its set-up, static frame and frames read back
# from the DIB sections.
orvane_test(software_values_test software_values_test.cpp)
orvane_test(software_frame_test software_frame_test.cpp)
