# table layer tests
