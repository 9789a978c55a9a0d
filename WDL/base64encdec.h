#pragma once
// Base64 (RFC 4648 alphabet) for preset blobs.

// Decodes text into out, writing at most maxlen bytes. Decoding stops at the
// first character outside the alphabet ("=" and the terminating NUL included);
// bytes past maxlen are dropped. Returns the number of bytes written.
int base64decode(const char* src, unsigned char* dest, int maxlen);

// Encodes len bytes of src as Base64 with "=" padding into dest, followed by
// a terminating NUL. dest must hold Base64EncodedSize(len) bytes.
void base64encode(const unsigned char* src, char* dest, int len);

// Bytes base64encode writes for len input bytes, the NUL included.
inline int Base64EncodedSize(int len) { return len > 0 ? ((len + 2) / 3) * 4 + 1 : 1; }
