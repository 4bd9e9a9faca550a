# Label sheet template files: lengths, the reader, the converter, the find box, the import into
# the user's own templates, the whole installed template database, and the tool's "templates"
# command group.
qm_test(qm_label_template_tests
  SOURCES
    TTemplateLengthTest.cpp
    TTemplateFileTest.cpp
    TTemplateConverterTest.cpp
    TTemplateFindTest.cpp
    TLabelTemplateImportTest.cpp
    TTemplateLibraryTest.cpp
    TemplatesCommandTest.cpp
  LIBS qm_labels qm_tools qm_data_sysdata qm_test_support Qt6::Test)
add_dependencies(qm_label_template_tests qm_sysdata_tables)
