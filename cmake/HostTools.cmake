# The tools under tools/ run at build time on the build machine: build them natively with
# clang as an external project and expose their paths.
include(ExternalProject)

set(VALKESTA_HOST_DIR ${PROJECT_BINARY_DIR}/host)
set(VALKESTA_DOCUMENT_CHECK ${VALKESTA_HOST_DIR}/document_check)
# The layout's compiler, and the form reader's native tests and fuzzer (run by tests/form).
set(VALKESTA_FORM_COMPILER ${VALKESTA_HOST_DIR}/form_compiler)
set(VALKESTA_FORM_TESTS ${VALKESTA_HOST_DIR}/form_tests)
set(VALKESTA_FORM_FUZZER ${VALKESTA_HOST_DIR}/form_reader_fuzzer)

ExternalProject_Add(host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools
    BINARY_DIR ${VALKESTA_HOST_DIR}
    CMAKE_ARGS
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_C_COMPILER=clang
        -DCMAKE_CXX_COMPILER=clang++
    # The program needs only the tools; the native tests build in the step below.
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target document_check form_compiler
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE
    USES_TERMINAL_BUILD TRUE
    BUILD_BYPRODUCTS ${VALKESTA_DOCUMENT_CHECK} ${VALKESTA_FORM_COMPILER})

# Everything else of the native project: the form reader's tests and fuzzer.
add_custom_target(host_tests ALL
    COMMAND ${CMAKE_COMMAND} --build ${VALKESTA_HOST_DIR}
    DEPENDS host_tools
    USES_TERMINAL)
