# Warnings as errors for the project's own targets only (third-party sources keep their own flags).
function(tarvin_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror -Wshadow -Wnon-virtual-dtor
                                             -Wno-missing-field-initializers)
    # GCC 12 at -O2 and above reports overlapping memcpy inside std::string's operator+ (GCC bug
    # 105329), a false alarm that would otherwise fail the optimised Windows build.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()
