# expr layer tests
