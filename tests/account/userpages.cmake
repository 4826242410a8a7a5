# User information, settings and complaint pages.
set(USERPAGES_TEST_LIBS ostrel_account ostrel_resources ostrel_testsupport)
ostrel_add_test(test_account_userinfo SOURCES tst_userinfo.cpp LIBS ${USERPAGES_TEST_LIBS} TIMEOUT 120)
ostrel_add_test(test_account_setting SOURCES tst_setting.cpp LIBS ${USERPAGES_TEST_LIBS} TIMEOUT 60)
# The web view needs a display; under Xvfb it renders as in the program.
ostrel_add_test(test_account_complaint SOURCES tst_complaint.cpp LIBS ${USERPAGES_TEST_LIBS} XVFB TIMEOUT 180)
# The Chinese texts are checked against the compiled translation.
if(TARGET ostrel_translations)
  add_dependencies(test_account_setting ostrel_translations)
endif()
# The web engine keeps process-lifetime allocations in code without symbols;
# leak reports from it say nothing about this program.
set_property(TEST test_account_complaint APPEND PROPERTY ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
