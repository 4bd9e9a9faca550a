# "print letters": the letter print loop of src/letters (no widget library either).
target_sources(qm_tools PRIVATE PrintLettersCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_letters)
