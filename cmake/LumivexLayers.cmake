# The libraries' layering, checked when the build is configured:
#
#   platform <- record <- settings <- comm <- mail <- alert <- alert widgets <- ui <- app
#
# Each library may link only libraries to its left. The core (platform,
# record, settings, comm, mail and the Core-only part of alert) links no Qt
# Widgets, directly or through anything it links. Libraries that do not exist
# yet are skipped, so the rule holds as they are added; a new library of the
# project that a core library links must be given its place here first.

set(LUMIVEX_LAYERS
  lumivex_platform
  lumivex_record
  lumivex_settings
  lumivex_comm
  lumivex_mail
  lumivex_alert
  lumivex_alert_widgets
  lumivex_ui
  lumivex_app
)
set(LUMIVEX_CORE_LIBRARIES
  lumivex_platform
  lumivex_record
  lumivex_settings
  lumivex_comm
  lumivex_mail
  lumivex_alert
)
set(LUMIVEX_WIDGETS_PATTERN "Qt[0-9]*(::)?[A-Za-z]*Widgets")

# The names in a link list, with $<LINK_ONLY:...> and the like taken off.
function(lumivex_link_names target property out)
  get_target_property(links ${target} ${property})
  set(names "")
  if(links)
    foreach(link IN LISTS links)
      string(REGEX REPLACE "^\\$<[A-Z_]+:(.*)>$" "\\1" link "${link}")
      if(link)
        list(APPEND names "${link}")
      endif()
    endforeach()
  endif()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# Everything target links, directly or through the libraries it links.
function(lumivex_all_links target out)
  set(seen "")
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    set(properties INTERFACE_LINK_LIBRARIES)
    get_target_property(imported ${current} IMPORTED)
    if(NOT imported)
      list(APPEND properties LINK_LIBRARIES)
    endif()
    foreach(property IN LISTS properties)
      lumivex_link_names(${current} ${property} names)
      foreach(name IN LISTS names)
        if(NOT name IN_LIST seen)
          list(APPEND seen ${name})
          if(TARGET ${name})
            list(APPEND pending ${name})
          endif()
        endif()
      endforeach()
    endforeach()
  endwhile()
  set(${out} "${seen}" PARENT_SCOPE)
endfunction()

function(lumivex_check_layer library rank)
  lumivex_link_names(${library} LINK_LIBRARIES links)
  lumivex_link_names(${library} INTERFACE_LINK_LIBRARIES interface)
  list(APPEND links ${interface})
  list(REMOVE_DUPLICATES links)
  foreach(link IN LISTS links)
    list(FIND LUMIVEX_LAYERS ${link} linkRank)
    if(linkRank GREATER_EQUAL rank)
      message(FATAL_ERROR "${library} links ${link}, which is not below it in the layering "
                          "(${LUMIVEX_LAYERS}); see cmake/LumivexLayers.cmake")
    endif()
    if(linkRank EQUAL -1 AND library IN_LIST LUMIVEX_CORE_LIBRARIES AND TARGET ${link})
      get_target_property(imported ${link} IMPORTED)
      if(NOT imported)
        message(FATAL_ERROR "${library} links ${link}, a library without a place in the layering; "
                            "add it to cmake/LumivexLayers.cmake")
      endif()
    endif()
  endforeach()
  if(library IN_LIST LUMIVEX_CORE_LIBRARIES)
    lumivex_all_links(${library} everything)
    foreach(link IN LISTS everything)
      if(link MATCHES "${LUMIVEX_WIDGETS_PATTERN}")
        message(FATAL_ERROR "${library} is a core library and links ${link}; "
                            "Qt Widgets belong to the user interface libraries only")
      endif()
    endforeach()
  endif()
endfunction()

function(lumivex_check_layers)
  set(rank 0)
  foreach(library IN LISTS LUMIVEX_LAYERS)
    if(TARGET ${library})
      lumivex_check_layer(${library} ${rank})
    endif()
    math(EXPR rank "${rank} + 1")
  endforeach()
endfunction()
