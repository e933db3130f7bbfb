# Included at the end of project() by the tsan preset: links the definitions in this folder into
# every executable, where they come before those of the sanitizer's runtime and of Qt.
find_package(Qt6 REQUIRED COMPONENTS Core)
add_library(tessaline_thread_sanitizer OBJECT ${CMAKE_CURRENT_LIST_DIR}/ForkLikeClone.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QtHandOffs.cpp ${CMAKE_CURRENT_LIST_DIR}/DefaultOptions.cpp)
target_link_libraries(tessaline_thread_sanitizer PUBLIC Qt6::Core ${CMAKE_DL_LIBS})
target_compile_definitions(tessaline_thread_sanitizer PRIVATE
    TESSALINE_TSAN_SUPPRESSIONS="${CMAKE_CURRENT_LIST_DIR}/tsan.supp")

function(tessaline_link_thread_sanitizer directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_property(type TARGET ${target} PROPERTY TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_link_libraries(${target} PRIVATE tessaline_thread_sanitizer)
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    tessaline_link_thread_sanitizer(${subdirectory})
  endforeach()
endfunction()

# Once every directory has made its targets.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR}
    CALL tessaline_link_thread_sanitizer ${CMAKE_SOURCE_DIR})
