# The text import's encoding decision, record reader, sample and value conversion.
qm_fuzzer(fuzz_transfer_csv SOURCES transfer_csv.cpp LIBS qm_transfer)
# The vCard import's reading: unfolding, parameters, quoted-printable, character sets, mapping.
qm_fuzzer(fuzz_transfer_vcard SOURCES transfer_vcard.cpp LIBS qm_transfer)
