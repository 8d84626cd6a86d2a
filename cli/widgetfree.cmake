# cmake -DBINARY=file -P widgetfree.cmake
# Fails the build when the command-line program needs a Qt library that brings widgets or a
# display: it must run on a server without either. The binary is removed, so that the next
# build links and checks it again.
execute_process(COMMAND readelf -d "${BINARY}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "readelf could not read ${BINARY}")
endif()
string(REGEX MATCHALL "\\[libQt6(Gui|Widgets|Charts|PrintSupport|OpenGL|OpenGLWidgets|Svg)[^]]*\\]"
       found "${dynamic}")
if(found)
    file(REMOVE "${BINARY}")
    message(FATAL_ERROR "${BINARY} needs ${found}: it must link Qt Core only")
endif()
