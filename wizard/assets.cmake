# The writers of the generic car's assets (meshes, textures, material and skin
# scripts). The assets themselves are generated and embedded by assets/.
# Included by wizard/CMakeLists.txt after scripts.cmake.

add_library(wizard_assets STATIC src/asset_writers.cpp)
target_include_directories(wizard_assets PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
target_link_libraries(wizard_assets PUBLIC wizard_base wizard_resource_store wizard_scripts)

if(TARGET wizard_test)
  target_sources(wizard_test PRIVATE tests/asset_writers_test.cpp)
  target_link_libraries(wizard_test PRIVATE wizard_assets)
endif()
