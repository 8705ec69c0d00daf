orvane_test(picture_decoding_test picture_decoding_test.cpp)

# The stored PNG files: layout, sizes, colour types, the help card's QR code, reproducible bytes.
add_test(NAME pictures_check
    COMMAND ${PYTHON3} ${PROJECT_SOURCE_DIR}/src/assets/pictures/check_pictures.py
            ${PROJECT_SOURCE_DIR}/src/assets/pictures)
