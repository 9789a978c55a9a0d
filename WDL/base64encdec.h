#pragma once
// Base64 (RFC 4648 alphabet) for preset blobs.

// Decodes text into out, writing at most maxlen bytes. Decoding stops at the
// first character outside the alphabet ("=" and the terminating NUL included);
// bytes past maxlen are dropped. Returns the number of bytes written.
int base64decode(const char* src, unsigned char* dest, int maxlen);
