# The hardening Debian builds its packages with (dpkg-buildflags with hardening=+all): stack
# protector and clash protection, fortified libc calls, a read-only relocation table bound at
# start. The sanitizer and fuzzing builds bring their own instrumentation and go without.
option(ZORVO_HARDEN "Build with the hardening flags of Debian packages" ON)
set(ZORVO_HARDENED OFF)
if(NOT ZORVO_HARDEN OR ZORVO_SANITIZE OR ZORVO_FUZZ OR WIN32)
    return()
endif()
set(ZORVO_HARDENED ON)
include(CheckCXXCompilerFlag)
add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
# Not every target knows these (-fcf-protection is x86 only).
foreach(flag -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "ZORVO_HAS${flag}" known)
    check_cxx_compiler_flag(${flag} ${known})
    if(${known})
        add_compile_options(${flag})
    endif()
endforeach()
# Fortified calls need the optimiser; without it glibc only warns. A compiler that already
# defines the macro would warn about the redefinition, hence the -U first.
add_compile_options("$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
add_link_options(LINKER:-z,relro LINKER:-z,now)
