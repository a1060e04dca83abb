// The image decoder and PNG writer are compiled once, here. Only PNG decoding is built:
// the game ships nothing else, and the other decoders of this stb_image release have
// known faults.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#include <stb_image.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
