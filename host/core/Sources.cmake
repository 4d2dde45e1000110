# Sources of host/core.
# Scene objects, resources, globals and preferences of the host core.
target_sources(vistal_host PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CQNPreferences.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ISupportedByViewChild.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MStrNCpy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QNGlobals.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResourceStrings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIObjectMedical.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UISurface.cpp)
# The mesh scene object.
target_sources(vistal_host PRIVATE ${CMAKE_CURRENT_LIST_DIR}/UIStlObject.cpp)
