# index layer tests
