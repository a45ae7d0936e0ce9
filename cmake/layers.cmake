# The layers of the program and what each may include of the others; the source globs and the
# include-direction check both read this list, so a new layer is named here once.
#   model    the game state, the settings, the displays and the interfaces the core needs
#   systems  the selection systems
#   storage  the files
#   engine   the spin cycle, run without a window
#   session  what plays games around the engine: headless runs, the comparison, the playback,
#            the presets, start and close
#   ui, sim  the window and the simulator, which know nothing of each other
set(ORBISTA_CORE_LAYERS model systems storage engine session)
set(ORBISTA_LAYERS ${ORBISTA_CORE_LAYERS} ui sim)

set(ORBISTA_MAY_INCLUDE_model "")
set(ORBISTA_MAY_INCLUDE_systems model)
set(ORBISTA_MAY_INCLUDE_storage model)
set(ORBISTA_MAY_INCLUDE_engine model systems)
set(ORBISTA_MAY_INCLUDE_session model systems storage engine)
set(ORBISTA_MAY_INCLUDE_ui ${ORBISTA_CORE_LAYERS})
set(ORBISTA_MAY_INCLUDE_sim ${ORBISTA_CORE_LAYERS})

# The layers that must build without a widget toolkit.
set(ORBISTA_TOOLKIT_FREE ${ORBISTA_CORE_LAYERS} sim)

# The given layers' folders joined to PATTERN, e.g. model/*.cpp systems/*.cpp ...
function(orbista_layer_globs out pattern)
    set(globs "")
    foreach(layer IN LISTS ARGN)
        list(APPEND globs "${layer}/${pattern}")
    endforeach()
    set(${out} ${globs} PARENT_SCOPE)
endfunction()
