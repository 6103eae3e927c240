/* C, because the library's key schedule header is not valid C++17. */
#include "zip/ZipPasswordCheck.h"
#include <zlib.h>
#include <crypt.h>

int ZipPasswordHeaderMatches(const char* password, const unsigned char* header, unsigned char expected)
{
    unsigned long keys[3];
    const z_crc_t* table = get_crc_table();
    int last = 0;
    int i;
    init_keys(password, keys, table);
    for (i = 0; i < 12; ++i) {
        int c = header[i];
        last = zdecode(keys, table, c);
    }
    return (unsigned char)last == expected;
}
