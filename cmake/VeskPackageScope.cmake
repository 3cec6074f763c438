# CPack's project configuration (see VeskPackage.cmake): the install step it runs lays the files
# out as the Debian package wants them.
set(ENV{VESK_INSTALL_SCOPE} package)
