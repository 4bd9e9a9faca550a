# cursor layer tests
