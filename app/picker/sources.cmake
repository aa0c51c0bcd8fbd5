# Sources of the folder picker, added to the program's library.
set(PICKER_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Unit2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Browse.cpp
)
