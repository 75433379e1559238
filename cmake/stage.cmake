# The staged package: the sample package with the built programs in place, as
# the tests and the demo run it.
set(PP_SYSTEM_FOLDERS win98 winnt win2003 Vista win2008 win7)
set(stage_plugin_copies)
foreach(folder ${PP_SYSTEM_FOLDERS})
  list(APPEND stage_plugin_copies COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:7404VXUI> "${PP_STAGE_DIR}/${folder}/7404VXUI.DLL")
endforeach()
# The stand-in configuration module takes the place of the text stand-in in
# every folder of the NT family, where the spooler loads it.
foreach(folder winnt win2003 Vista win2008 win7)
  list(APPEND stage_plugin_copies COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:UNIDRVUI> "${PP_STAGE_DIR}/${folder}/UNIDRVUI.DLL")
endforeach()
# The monitors, their user interfaces and the print processor replace the text
# stand-ins of the NT family's folders: Wine's AddMonitor loads a monitor and
# refuses anything that is not one, and Wine prints every job through the
# printer's processor. The other Unidrv files (UNIDRV.DLL,
# UNIRES.DLL, the GPD files, KTRRES*.DLL, KTRREND*.DLL) stay text: nothing
# under Wine opens them. The 98/Me folder stays text as a whole.
# PP_STANDIN_DLLS comes from tools/.
set(stage_standin_copies)
foreach(folder winnt win2003 Vista win2008 win7)
  foreach(dll ${PP_STANDIN_DLLS})
    list(APPEND stage_standin_copies COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${dll}> "${PP_STAGE_DIR}/${folder}/${dll}.DLL")
  endforeach()
endforeach()
# The USB stand-ins: the maker's library beside Setup, with no MdUsbInt.ini
# (so no printer is attached until a test or the demo writes one), and the USB
# driver tool and driver in USBDrv\ (bulkusb.inf comes with the package).
set(stage_usb_copies
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:MdUsbInt> "${PP_STAGE_DIR}"
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:usbdrv_install> $<TARGET_FILE:bulkusb> "${PP_STAGE_DIR}/USBDrv")
add_custom_target(stage ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory "${PROJECT_SOURCE_DIR}/package" "${PP_STAGE_DIR}"
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Setup> $<TARGET_FILE:Desinstalar> "${PP_STAGE_DIR}"
  ${stage_plugin_copies}
  ${stage_usb_copies}
  ${stage_standin_copies}
  COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/screenshots"
  DEPENDS Setup Desinstalar 7404VXUI UNIDRVUI MdUsbInt usbdrv_install bulkusb ${PP_STANDIN_DLLS}
  COMMENT "Staging the package in ${PP_STAGE_DIR}"
  VERBATIM)
