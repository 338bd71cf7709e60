// Any bytes as a dBASE table: open, read, walk every record and ask for every field.
#include <iostream>

#include "data/dbf_table.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::cerr.setstate(std::ios::failbit);  // the reader's messages are expected here
    const std::string path = writeFuzzInput("table.dbf", data, size);
    pairweb::data::DbfTable table;
    if (table.open(path)) {
        table.readAll();
        for (table.first(); table.hasCurrent(); table.next()) {
            for (const pairweb::data::DbfField& field : table.fields()) {
                (void)table.value(field.name);
            }
            (void)table.value("ID");
        }
    }
    table.close();
    std::remove(path.c_str());
    return 0;
}
