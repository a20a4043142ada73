# Warnings as errors for the project's own targets only (third-party sources keep their own flags).
function(tarvin_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror -Wshadow -Wnon-virtual-dtor
                                             -Wno-missing-field-initializers)
endfunction()
