# `cpack -G DEB` in the build folder makes an installable Debian package of
# everything `cmake --install` puts in place, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME termdeposit)
set(CPACK_PACKAGE_VENDOR "Quendarith Information Technology")
set(CPACK_PACKAGE_CONTACT "Quendarith Information Technology <support@quendarith.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "register of bank term deposits and savings accounts")
set(CPACK_PACKAGE_DESCRIPTION
    "Term Deposit keeps a register of bank term deposits in one grid and works out\n"
    "each deposit's maturity date and future value with monthly compounding while\n"
    "you type. It stores registers in Term Deposit files (.tmd), finds a deposit\n"
    "by its account number, prints listings and shows a year-by-year schedule that\n"
    "compares annual, quarterly, monthly, weekly and daily compounding.")
list(JOIN CPACK_PACKAGE_DESCRIPTION "" CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quendarith.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries come from dpkg-shlibdeps; Qt's window-system plugins (xcb,
# wayland) are loaded at run time, so no library link names their package.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Hardened as Debian's own programs are: the whole offset table read-only once loaded.
target_link_options(termdeposit PRIVATE LINKER:-z,relro LINKER:-z,now)

include(CPack)
