# Shared by the layer checks (check_toolkit_layers.cmake, check_app_layers.cmake).
# qr4t_upward_includes(<failures-var> <include-regex> <file>...): appends "file: line" to the variable for
# every line of the files that includes a path matching the regex (the folders above the files' layer).
function(qr4t_upward_includes failures_var regex)
    set(failures "${${failures_var}}")
    foreach(f ${ARGN})
        file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"${regex}")
        foreach(l ${lines})
            file(RELATIVE_PATH rel ${QR4T_SOURCE_DIR} ${f})
            string(APPEND failures "${rel}: ${l}\n")
        endforeach()
    endforeach()
    set(${failures_var} "${failures}" PARENT_SCOPE)
endfunction()
