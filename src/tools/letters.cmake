# "print letters" and "letters": the letter print loop and the LETTER rows of src/letters, and
# the spell checker (no widget library either).
target_sources(qm_tools PRIVATE PrintLettersCommand.cpp LettersCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_letters qm_spelling)
