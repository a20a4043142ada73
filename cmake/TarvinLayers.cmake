# The floors of the tree, bottom up. A library may link and include only its own floor and those
# below it; tarvin_check_layers() proves both in every build.
set(TARVIN_FLOORS base platform toolkit framework/core framework/ui app)

# Floor of a project library target, or -1 for targets outside the floors (GoogleTest, tools).
function(tarvin_floor_of_target target out)
    set(floor -1)
    if(TARGET ${target})
        get_target_property(real ${target} ALIASED_TARGET)
        if(real)
            set(target ${real})
        endif()
        get_target_property(dir ${target} SOURCE_DIR)
        file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${dir})
        set(index 0)
        foreach(candidate IN LISTS TARVIN_FLOORS)
            if(rel STREQUAL candidate OR rel MATCHES "^${candidate}/")
                set(floor ${index})
            endif()
            math(EXPR index "${index} + 1")
        endforeach()
    endif()
    set(${out} ${floor} PARENT_SCOPE)
endfunction()

# Every library target the given one links, directly or through others.
function(tarvin_linked_closure target out)
    set(seen)
    set(queue ${target})
    while(queue)
        list(POP_FRONT queue current)
        if(NOT TARGET ${current} OR current IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${current})
        get_target_property(type ${current} TYPE)
        set(links)
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(direct ${current} LINK_LIBRARIES)
            if(direct)
                list(APPEND links ${direct})
            endif()
        endif()
        get_target_property(iface ${current} INTERFACE_LINK_LIBRARIES)
        if(iface)
            list(APPEND links ${iface})
        endif()
        list(APPEND queue ${links})
    endwhile()
    list(REMOVE_ITEM seen ${target})
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(tarvin_check_layers)
    # Links: checked now, so a wrong target_link_libraries fails the configure step.
    set(all_targets)
    set(dirs ${PROJECT_SOURCE_DIR})
    while(dirs)
        list(POP_FRONT dirs dir)
        get_property(dir_targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
        list(APPEND all_targets ${dir_targets})
        get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
        list(APPEND dirs ${subdirs})
    endwhile()
    foreach(target IN LISTS all_targets)
        tarvin_floor_of_target(${target} own)
        if(own LESS 0)
            continue()
        endif()
        tarvin_linked_closure(${target} linked)
        foreach(dependency IN LISTS linked)
            tarvin_floor_of_target(${dependency} theirs)
            if(theirs GREATER own)
                list(GET TARVIN_FLOORS ${own} own_name)
                list(GET TARVIN_FLOORS ${theirs} their_name)
                message(FATAL_ERROR "Layering: ${target} (${own_name}/) links ${dependency} (${their_name}/), "
                                    "a floor above its own")
            endif()
        endforeach()
    endforeach()

    # Includes: checked at build time over the sources as they are then, so an edit is caught by
    # the next build without a new configure. Every form counts (quotes or brackets, from the root
    # or relative to the file): TarvinLayersCheck.cmake resolves each as the compiler would.
    set(sources)
    foreach(floor_dir IN LISTS TARVIN_FLOORS)
        file(GLOB_RECURSE floor_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${floor_dir}/*.h
             ${PROJECT_SOURCE_DIR}/${floor_dir}/*.cpp)
        list(APPEND sources ${floor_sources})
    endforeach()
    set(stamp ${CMAKE_BINARY_DIR}/layers.checked)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} "-DFLOORS=${TARVIN_FLOORS}" -DSTAMP=${stamp}
                -P ${PROJECT_SOURCE_DIR}/cmake/TarvinLayersCheck.cmake
        DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/cmake/TarvinLayersCheck.cmake
        COMMENT "Checking that no floor includes a floor above it"
        VERBATIM)
    add_custom_target(check_layers ALL DEPENDS ${stamp})

    # The include check itself, on small trees with every form of #include (TarvinLayersSelfTest).
    if(BUILD_TESTING)
        add_test(NAME layers_check_test
                 COMMAND ${CMAKE_COMMAND} -DCHECK=${PROJECT_SOURCE_DIR}/cmake/TarvinLayersCheck.cmake
                         -DWORK=${CMAKE_BINARY_DIR}/layers-check-trees
                         -P ${PROJECT_SOURCE_DIR}/cmake/TarvinLayersSelfTest.cmake)
    endif()
endfunction()
