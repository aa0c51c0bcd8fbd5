# Sources of the folder picker, added to the program's library.
set(PICKER_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Unit2.h
  ${CMAKE_CURRENT_LIST_DIR}/Unit2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShellTreeView.h
  ${CMAKE_CURRENT_LIST_DIR}/ShellTreeView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShellFolderModel.h
  ${CMAKE_CURRENT_LIST_DIR}/ShellFolderModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShellNamespace.h
  ${CMAKE_CURRENT_LIST_DIR}/ShellNamespace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Browse.cpp
)
