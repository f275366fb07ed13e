#ifndef ZENTROVA_BASE64_H
#define ZENTROVA_BASE64_H

// Base64 with the standard alphabet and '=' padding, no line breaks written
// and no white space accepted. The allocating forms use malloc; callers free.

void base64_encode(char const* in, unsigned int inlen, char* out, unsigned int outlen);
unsigned int base64_encode_alloc(char const* in, unsigned int inlen, char** out);
bool isbase64(char ch);
bool base64_decode(char const* in, unsigned int inlen, char* out, unsigned int* outlen);
// True with a null buffer means memory ran out.
bool base64_decode_alloc(char const* in, unsigned int inlen, char** out, unsigned int* outlen);

#endif
