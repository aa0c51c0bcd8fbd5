# The LibreOffice UNO C++ SDK: headers for the interfaces the server uses are
# generated into the build tree at configure time (only those types and what
# they depend on), and the URE libraries come from the SDK with an rpath to
# the office's program folder, where their runtime twins live.
set(LO_PROGRAM_DIR /usr/lib/libreoffice/program)
set(LO_SDK_DIR /usr/lib/libreoffice/sdk)
set(UNO_GENERATED_DIR ${CMAKE_BINARY_DIR}/uno-headers)

set(UNO_TYPES
  com.sun.star.awt.Size
  com.sun.star.beans.PropertyValue
  com.sun.star.beans.XPropertySet
  com.sun.star.bridge.XBridge
  com.sun.star.bridge.XBridgeFactory
  com.sun.star.connection.XConnector
  com.sun.star.container.XEnumerationAccess
  com.sun.star.container.XIndexAccess
  com.sun.star.container.XNameAccess
  com.sun.star.container.XNameContainer
  com.sun.star.connection.NoConnectException
  com.sun.star.document.BrokenPackageRequest
  com.sun.star.document.FilterOptionsRequest
  com.sun.star.document.MacroExecMode
  com.sun.star.document.UpdateDocMode
  com.sun.star.document.XTypeDetection
  com.sun.star.drawing.XDrawPageSupplier
  com.sun.star.drawing.XShape
  com.sun.star.frame.XComponentLoader
  com.sun.star.frame.XController
  com.sun.star.frame.XDesktop
  com.sun.star.frame.XModel
  com.sun.star.frame.XStorable
  com.sun.star.graphic.XGraphic
  com.sun.star.graphic.XGraphicProvider
  com.sun.star.io.IOException
  com.sun.star.lang.DisposedException
  com.sun.star.lang.IllegalArgumentException
  com.sun.star.lang.XComponent
  com.sun.star.lang.XEventListener
  com.sun.star.lang.XMultiComponentFactory
  com.sun.star.lang.XMultiServiceFactory
  com.sun.star.lang.XServiceInfo
  com.sun.star.style.ParagraphAdjust
  com.sun.star.style.XStyle
  com.sun.star.style.XStyleFamiliesSupplier
  com.sun.star.task.DocumentMSPasswordRequest
  com.sun.star.task.DocumentMSPasswordRequest2
  com.sun.star.task.DocumentPasswordRequest
  com.sun.star.task.DocumentPasswordRequest2
  com.sun.star.task.ErrorCodeRequest
  com.sun.star.task.PasswordRequest
  com.sun.star.task.XInteractionAbort
  com.sun.star.task.XInteractionDisapprove
  com.sun.star.task.XInteractionHandler
  com.sun.star.task.XInteractionRequest
  com.sun.star.text.ControlCharacter
  com.sun.star.text.TextContentAnchorType
  com.sun.star.text.XPageCursor
  com.sun.star.text.XText
  com.sun.star.text.XTextContent
  com.sun.star.text.XTextCursor
  com.sun.star.text.XTextDocument
  com.sun.star.text.XTextFramesSupplier
  com.sun.star.text.XTextGraphicObjectsSupplier
  com.sun.star.text.XTextRangeCompare
  com.sun.star.text.XTextTable
  com.sun.star.text.XTextTablesSupplier
  com.sun.star.text.XTextViewCursor
  com.sun.star.text.XTextViewCursorSupplier
  com.sun.star.style.BreakType
  com.sun.star.ucb.InteractiveIOException
  com.sun.star.uno.XComponentContext
  com.sun.star.uno.XWeak
  com.sun.star.lang.XTypeProvider
  com.sun.star.uno.XAggregation
  com.sun.star.util.XCloseable
  com.sun.star.util.XModifiable
)
list(JOIN UNO_TYPES ";" UNO_TYPE_LIST)

set(UNO_STAMP ${UNO_GENERATED_DIR}/.types)
set(UNO_STAMP_TEXT "${UNO_TYPE_LIST}")
if(EXISTS ${UNO_STAMP})
  file(READ ${UNO_STAMP} UNO_STAMP_OLD)
endif()
if(NOT UNO_STAMP_OLD STREQUAL UNO_STAMP_TEXT)
  file(REMOVE_RECURSE ${UNO_GENERATED_DIR})
  execute_process(
    COMMAND ${LO_SDK_DIR}/bin/cppumaker -Gc -O${UNO_GENERATED_DIR} "-T${UNO_TYPE_LIST}"
            ${LO_PROGRAM_DIR}/types.rdb ${LO_PROGRAM_DIR}/types/offapi.rdb
    RESULT_VARIABLE cppumaker_result
    ERROR_VARIABLE cppumaker_error)
  if(NOT cppumaker_result EQUAL 0)
    message(FATAL_ERROR "cppumaker failed (${cppumaker_result}): ${cppumaker_error}")
  endif()
  file(WRITE ${UNO_STAMP} "${UNO_STAMP_TEXT}")
endif()

add_library(uno_sdk INTERFACE)
target_include_directories(uno_sdk SYSTEM INTERFACE ${UNO_GENERATED_DIR} /usr/include/libreoffice)
target_compile_definitions(uno_sdk INTERFACE LINUX UNX CPPU_ENV=gcc3)
target_link_libraries(uno_sdk INTERFACE
  ${LO_SDK_DIR}/lib/libuno_cppuhelpergcc3.so
  ${LO_SDK_DIR}/lib/libuno_cppu.so
  ${LO_SDK_DIR}/lib/libuno_sal.so)
target_link_options(uno_sdk INTERFACE "LINKER:-rpath,${LO_PROGRAM_DIR}")
