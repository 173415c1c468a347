# gulpo_headers(TARGET SCOPE PATH...): the headers TARGET shows, at their
# paths in the tree ("platform/form.h"), to its own sources and (with SCOPE
# PUBLIC or INTERFACE) to whatever links it; a PATH is a header or a whole
# folder. Each target gets a folder of links of its own in the build tree
# as its include directory, so that a source reaches the headers of the
# targets it links and nothing else: a layer cannot include a header of a
# layer above it, nor a test's.
function(gulpo_headers target scope)
    set(root ${CMAKE_BINARY_DIR}/headers/${target})
    foreach(path IN LISTS ARGN)
        get_filename_component(parent ${root}/${path} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        if(NOT EXISTS ${root}/${path})
            file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${target} ${scope} ${root})
endfunction()
