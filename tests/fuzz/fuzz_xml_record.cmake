# The records are checked with expat.
find_package(EXPAT REQUIRED)
target_link_libraries(fuzz_xml_record PRIVATE EXPAT::EXPAT)
