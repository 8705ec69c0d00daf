add_test(NAME package_check COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check_package.sh $<TARGET_FILE:orvane>)
