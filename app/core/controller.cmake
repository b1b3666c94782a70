# The input controller: engine binding, candidate grid, key handling, composition, lifecycle and
# menu. Included from this folder's CMakeLists.txt.
find_package(ICU REQUIRED COMPONENTS uc)

if(TARGET ornav_engine)
  add_library(ornav_controller STATIC
    candidate_grid.cpp
    controller_engine.cpp
    grapheme.cpp
    input_method_server.cpp
    key_map_extras.cpp
    ornav_engine_binding.cpp
    ornav_input_controller_composition.cpp
    ornav_input_controller_keys.cpp
    ornav_input_controller_lifecycle.cpp
    process_entry.cpp
  )
  target_include_directories(ornav_controller PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
  target_link_libraries(ornav_controller PUBLIC ornav_app_core ornav_ports ornav_logger ornav_engine
                                                ICU::uc)

  # The controller's collaborators in the running application (logger, crash reporter, key map,
  # installed ports; and the update service once its operations are built).
  add_library(ornav_controller_app STATIC production_wiring.cpp)
  target_link_libraries(ornav_controller_app PUBLIC ornav_controller ornav_diagnostics)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/../services/update_service_operations.h)
    target_sources(ornav_controller_app PRIVATE update_service_bridge.cpp)
    target_link_libraries(ornav_controller_app PUBLIC ornav_services)
  endif()

  # Doubles for the controller's collaborators, shared by the controller's tests.
  add_library(ornav_controller_test_support STATIC controller_test_support.cpp)
  target_link_libraries(ornav_controller_test_support PUBLIC ornav_controller)

  ornav_add_test(candidate_grid_test SOURCES candidate_grid_test.cpp LIBS ornav_controller)
  ornav_add_test(ornav_engine_binding_test SOURCES ornav_engine_binding_test.cpp grapheme_test.cpp
                 LIBS ornav_controller_test_support)
  ornav_add_test(ornav_input_controller_test
                 SOURCES ornav_input_controller_keys_test.cpp
                         ornav_input_controller_composition_test.cpp
                         ornav_input_controller_lifecycle_test.cpp
                 LIBS ornav_controller_test_support)
  ornav_add_test(process_entry_test SOURCES process_entry_test.cpp input_method_server_test.cpp
                 LIBS ornav_controller_test_support)

  # The controller with the real update service, ports and engine against a local web service.
  # (services/ and platform/linux are added after this folder, so their files are tested.)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/../services/service_test_support.cpp AND
     EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/../services/update_service_operations.h AND
     EXISTS ${CMAKE_SOURCE_DIR}/platform/linux/CMakeLists.txt)
    ornav_add_test(controller_services_integration_test
                   SOURCES controller_services_integration_test.cpp
                   LIBS ornav_controller_app ornav_controller_test_support
                        ornav_services_test_support ornav_fst)
  endif()
endif()
