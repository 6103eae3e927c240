#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Decrypts the 12-byte header of a traditionally encrypted entry with the password and
// tells whether its last byte is the expected check byte.
int ZipPasswordHeaderMatches(const char* password, const unsigned char* header, unsigned char expected);

#ifdef __cplusplus
}
#endif
