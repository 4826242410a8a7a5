# Login dialog, sign-in page, registration page and the remembered sign-in.
set(SIGNIN_TEST_LIBS ostrel_account ostrel_resources ostrel_testsupport ostrel_platform_fake ostrel_a11ytest)
ostrel_add_test(test_signin_remember SOURCES tst_login_remember.cpp LIBS ostrel_account ostrel_testsupport TIMEOUT 60)
ostrel_add_test(test_signin_login SOURCES tst_login.cpp tst_login_urlcatcher.h LIBS ${SIGNIN_TEST_LIBS} TIMEOUT 180)
ostrel_add_test(test_signin_register SOURCES tst_register.cpp tst_login_urlcatcher.h LIBS ${SIGNIN_TEST_LIBS} TIMEOUT 180)

# The reader alone, without the pages and their libraries.
ostrel_add_fuzzer(fuzz_remember_file
  SOURCES fuzz_remember_file.cpp
    ${CMAKE_SOURCE_DIR}/account/RememberFile.cpp ${CMAKE_SOURCE_DIR}/account/SigninLog.cpp
    ${CMAKE_SOURCE_DIR}/platform/PrivateFile.cpp
  LIBS Qt5::Core)
if(TARGET fuzz_remember_file)
  target_include_directories(fuzz_remember_file PRIVATE ${CMAKE_SOURCE_DIR}/account ${CMAKE_SOURCE_DIR}/platform)
endif()
# The Chinese texts are checked against the compiled catalogue.
add_dependencies(test_signin_login ostrel_translations)
