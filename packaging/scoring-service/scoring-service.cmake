# The rumbolo-scoring-service Debian package (included by packaging/CMakeLists.txt
# before CPack): the local scoring service for a school or district that receives
# evaluations on its own server.
#   /usr/lib/rumbolo-scoring-service/rumbolo-scoring-service   the service
#   /usr/sbin/rumbolo-scoring-service-add-account             adds an account
#   /lib/systemd/system/rumbolo-scoring-service.service       the hardened unit
#   /var/lib/rumbolo-scoring-service                          its data (made on install)
set(RUMBOLO_SERVICE_USER _rumbolo-scoring-service)
set(RUMBOLO_SERVICE_DATA /var/lib/rumbolo-scoring-service)
set(RUMBOLO_SERVICE_PROGRAM "${CMAKE_INSTALL_PREFIX}/lib/rumbolo-scoring-service/rumbolo-scoring-service")
set(RUMBOLO_SERVICE_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/scoring-service)
set(RUMBOLO_SERVICE_OUT ${CMAKE_CURRENT_BINARY_DIR}/scoring-service)
foreach(file rumbolo-scoring-service.service rumbolo-scoring-service-add-account postinst postrm)
    configure_file(${RUMBOLO_SERVICE_SOURCE}/${file}.in ${RUMBOLO_SERVICE_OUT}/${file} @ONLY)
endforeach()
configure_file(${RUMBOLO_SERVICE_SOURCE}/prerm ${RUMBOLO_SERVICE_OUT}/prerm COPYONLY)

install(TARGETS rumbolo-scoring-service RUNTIME DESTINATION lib/rumbolo-scoring-service COMPONENT scoringservice)
install(PROGRAMS ${RUMBOLO_SERVICE_OUT}/rumbolo-scoring-service-add-account DESTINATION ${CMAKE_INSTALL_SBINDIR}
    COMPONENT scoringservice)
# Debian keeps the units of its packages in /lib (bookworm).
install(FILES ${RUMBOLO_SERVICE_OUT}/rumbolo-scoring-service.service DESTINATION /lib/systemd/system COMPONENT scoringservice)
install(FILES ${RUMBOLO_SERVICE_SOURCE}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rumbolo-scoring-service
    COMPONENT scoringservice)
add_custom_command(OUTPUT ${RUMBOLO_SERVICE_OUT}/changelog.gz ${RUMBOLO_SERVICE_OUT}/rumbolo-scoring-service-add-account.8.gz
    COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/changelog > ${RUMBOLO_SERVICE_OUT}/changelog.gz
    COMMAND gzip -9n -c ${RUMBOLO_SERVICE_SOURCE}/rumbolo-scoring-service-add-account.8 > ${RUMBOLO_SERVICE_OUT}/rumbolo-scoring-service-add-account.8.gz
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/changelog ${RUMBOLO_SERVICE_SOURCE}/rumbolo-scoring-service-add-account.8)
add_custom_target(rumbolo-scoring-service-docs ALL
    DEPENDS ${RUMBOLO_SERVICE_OUT}/changelog.gz ${RUMBOLO_SERVICE_OUT}/rumbolo-scoring-service-add-account.8.gz)
install(FILES ${RUMBOLO_SERVICE_OUT}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rumbolo-scoring-service
    COMPONENT scoringservice)
install(FILES ${RUMBOLO_SERVICE_OUT}/rumbolo-scoring-service-add-account.8.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man8
    COMPONENT scoringservice)

list(APPEND CPACK_COMPONENTS_ALL scoringservice)
set(CPACK_DEBIAN_SCORINGSERVICE_PACKAGE_NAME rumbolo-scoring-service)
set(CPACK_DEBIAN_SCORINGSERVICE_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_SCORINGSERVICE_PACKAGE_SECTION net)
set(CPACK_COMPONENT_SCORINGSERVICE_DESCRIPTION "receives the evaluations that Rumbolo sends, on a school's own server
Examiners give early-literacy tests to children with Rumbolo and send each
evaluation to a scoring service from its page 'Enviar al servidor'. This
package runs such a service on this machine, as a systemd unit under a system
user of its own: it checks the examiners' accounts and keeps every evaluation
received under /var/lib/rumbolo-scoring-service. Accounts are added with
rumbolo-scoring-service-add-account. It serves HTTPS on this machine's loopback
address with a development certificate authority made on installation, which
the default Rumbolo package trusts.")
# The openssl command makes the certificate authority; adduser the system user.
set(CPACK_DEBIAN_SCORINGSERVICE_PACKAGE_DEPENDS "adduser, openssl")
set(CPACK_DEBIAN_SCORINGSERVICE_PACKAGE_CONTROL_EXTRA "${RUMBOLO_SERVICE_OUT}/postinst;${RUMBOLO_SERVICE_OUT}/prerm;${RUMBOLO_SERVICE_OUT}/postrm")
set(CPACK_DEBIAN_SCORINGSERVICE_PACKAGE_CONTROL_STRICT_PERMISSION ON)
