# Writes OUTPUT, a header naming the commit the build comes from, and touches it only when the
# commit changed, so that a build of the same commit compiles nothing again. COMMIT, when given,
# is taken as it is (a build from an exported tree, say).
if(NOT COMMIT)
    set(COMMIT unknown)
    find_package(Git QUIET)
    if(GIT_FOUND)
        execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} rev-parse --short=12 HEAD
                        OUTPUT_VARIABLE head OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
        if(NOT failed AND head)
            set(COMMIT ${head})
            execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} status --porcelain --untracked-files=no
                            OUTPUT_VARIABLE changes ERROR_QUIET)
            if(changes)
                string(APPEND COMMIT "-modified")
            endif()
        endif()
    endif()
endif()
set(text "#pragma once\n#define BRISKO_VERSION \"${VERSION}\"\n#define BRISKO_BUILD_COMMIT \"${COMMIT}\"\n")
if(EXISTS ${OUTPUT})
    file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL text)
    file(WRITE ${OUTPUT} "${text}")
endif()
