# Reference frames: the capture tool renders small frames at fixed saver times again and
# tests/reference/compare_frames.py compares them with the reviewed pictures there, within a
# tolerance. Off screen in a hidden window, so it runs on the test display like the unit tests.
add_test(NAME reference_frames
    COMMAND ${PYTHON3} ${PROJECT_SOURCE_DIR}/tests/reference/compare_frames.py
        --capture $<TARGET_FILE:capture>
        $<$<BOOL:${CMAKE_CROSSCOMPILING_EMULATOR}>:--runner> ${CMAKE_CROSSCOMPILING_EMULATOR}
        --out ${CMAKE_CURRENT_BINARY_DIR}/reference-frames)
set_tests_properties(reference_frames PROPERTIES ENVIRONMENT "PYTHONDONTWRITEBYTECODE=1" TIMEOUT 300)

# The comparison itself, on made-up pictures: what it lets through and what it catches.
add_test(NAME reference_compare
    COMMAND ${PYTHON3} ${PROJECT_SOURCE_DIR}/tests/reference/compare_frames_test.py)
set_tests_properties(reference_compare PROPERTIES ENVIRONMENT "PYTHONDONTWRITEBYTECODE=1")
