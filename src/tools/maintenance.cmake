# The "check" and "edit" command groups: the Utilities menu's checks and bulk edits on an address
# file, through the maintenance runs (QtCore only, no widgets).
target_sources(qm_tools PRIVATE MaintenanceCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_maintenance)
