# Brings the .ts files up to date with the sources (cmake -P). Every text the
# program or the plug-in translates lands in both languages' files, new ones
# unfinished; texts gone from the sources leave them. The build target
# ostrel_lupdate runs it on resources/translations, the translations test on
# a copy.
# In: LUPDATE (the tool), SOURCE_DIR (the source tree), TS_DIR (the folder
#     with the .ts files to update).
foreach(var LUPDATE SOURCE_DIR TS_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "UpdateTranslations.cmake needs -D${var}=...")
  endif()
endforeach()

# The project's translation helpers: uninstallText(), trLogin() and
# trRegister() translate like tr() in the context that their class names
# with OSTREL_TRANSLATION_CONTEXT (TranslationContext.h).
set(options -locations none -no-obsolete
  -tr-function-alias tr+=uninstallText,tr+=trLogin,tr+=trRegister,Q_DECLARE_TR_FUNCTIONS+=OSTREL_TRANSLATION_CONTEXT)

# The program's catalogue holds the texts of everything but the plug-in,
# whose own catalogue is installed beside it (the widget kit and the card
# engine that the plug-in links are translated by the program's).
set(catalogues
  "ostrel:app,account,card,widgets,service,platform"
  "dravik:plugin")
foreach(entry IN LISTS catalogues)
  string(REGEX REPLACE "[:,]" ";" parts "${entry}")
  list(GET parts 0 name)
  list(REMOVE_AT parts 0)
  execute_process(
    COMMAND ${LUPDATE} ${options} ${parts} -ts ${TS_DIR}/${name}_zh.ts ${TS_DIR}/${name}_en.ts
    WORKING_DIRECTORY ${SOURCE_DIR}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  # lupdate reports texts it cannot place (tr() without a context) but
  # still succeeds: those would be missing from every file.
  if(NOT result EQUAL 0 OR output MATCHES "cannot|[Ww]arning|[Ee]rror")
    message(FATAL_ERROR "lupdate for ${name} failed:\n${output}")
  endif()
  message(STATUS "${name}: ${output}")
endforeach()
