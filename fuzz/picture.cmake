# Pictures: the metafile players and the bitmap path, as the loader and the layout stream reach
# them. Seeds: fuzz/corpus/picture_metafile/ and fuzz/corpus/picture_decode/.
qm_fuzzer(picture_metafile
  SOURCES picture_metafile.cpp
  LIBS qm_picture)
qm_fuzzer(picture_decode
  SOURCES picture_decode.cpp
  LIBS qm_picture)
