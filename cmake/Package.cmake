# "make package": a Debian package of the installed program, made by CPack from the install rules.
# Its dependencies come from the shared libraries the executables link (dpkg-shlibdeps), plus Qt's
# platform plugins, which are loaded at run time rather than linked.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brisko)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Marlowen Software")
set(CPACK_PACKAGE_CONTACT "Marlowen Software <brisko@marlowen.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "web-page builder for people who do not write HTML")
set(CPACK_PACKAGE_DESCRIPTION "Marlowen HTML Brisko 4.0 builds a web page from a short list of typed blocks: \
page details, headings, pictures, links, paragraphs, bullet lists, lines and an e-mail form. It previews the \
page, saves it as a project or template and publishes it to a web server over FTP, FTPS or SFTP. Includes \
brisko-export, brisko-render and brisko-publish for scripts.")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.marlowen.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
