orvane_test(picture_decoding_test picture_decoding_test.cpp)
orvane_test(picture_upload_test picture_upload_test.cpp)

# The stored PNG files themselves: chunk layout, sizes, colour types, the help card's QR code, and
# that the generator reproduces them byte for byte.
add_test(NAME pictures_check
    COMMAND ${PYTHON3} ${PROJECT_SOURCE_DIR}/src/assets/pictures/check_pictures.py
            ${PROJECT_SOURCE_DIR}/src/assets/pictures)
