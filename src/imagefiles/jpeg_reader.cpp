// JPEG reader on libjpeg-turbo. A fatal decode error jumps back here and yields null instead of
// ending the program; data that ends early counts as such an error.
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "imagefiles/file_bytes.h"
#include "imagefiles/readers.h"

namespace ImageLib {

namespace {

// libjpeg's working memory for one picture (progressive pictures keep all coefficients).
constexpr long kMaxDecoderMemory = 768L * 1024 * 1024;
// A progressive file may have any number of scans; real ones have a dozen or so.
constexpr int kMaxScans = 1000;
// Even the most uniform picture takes at least one bit per 8 x 8 block of its first component,
// so a file can hold at most 512 pixels per byte; more means the data is not there.
constexpr uint64_t kMaxPixelsPerByte = 512;

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void ExitOnError(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    std::longjmp(error->jump, 1);
}

void HandleMessage(j_common_ptr info, int level) {
    // Warnings (level -1) are ignored except the one for data that ends too early.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
        ExitOnError(info);
    }
}

void LimitScans(j_common_ptr info) {
    if (info->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
        ExitOnError(info);
    }
}

// Everything the decode touches lives here, outside the frame that setjmp returns to.
struct JpegDecode {
    jpeg_decompress_struct info{};
    JpegError error{};
    jpeg_progress_mgr progress{};
    std::unique_ptr<Image> image;
    std::vector<JSAMPROW> rows;
};

bool RunDecode(JpegDecode& decode, const uint8_t* data, size_t size) {
    if (setjmp(decode.error.jump) != 0) {
        return false;
    }
    jpeg_mem_src(&decode.info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&decode.info, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    const int components = decode.info.num_components;
    if (components != 1 && components != 3) {
        return false;
    }
    const uint64_t pixels = uint64_t{decode.info.image_width} * decode.info.image_height;
    if (!SizeAllowed(decode.info.image_width, decode.info.image_height) ||
        pixels > uint64_t{size} * kMaxPixelsPerByte) {
        return false;
    }
    // Straight into 0xAARRGGBB words (B, G, R, A in memory on little-endian machines).
    decode.info.out_color_space = JCS_EXT_BGRA;
    decode.info.mem->max_memory_to_use = kMaxDecoderMemory;
    decode.progress.progress_monitor = LimitScans;
    decode.info.progress = &decode.progress;
    jpeg_start_decompress(&decode.info);
    if (decode.info.output_components != 4) {
        return false;
    }
    decode.image = MakeImage(static_cast<int32_t>(decode.info.output_width),
                             static_cast<int32_t>(decode.info.output_height));
    if (decode.image == nullptr) {
        return false;
    }
    while (decode.info.output_scanline < decode.info.output_height) {
        auto* row = reinterpret_cast<JSAMPROW>(
            &decode.image
                 ->bits[static_cast<size_t>(decode.info.output_scanline) * decode.image->width]);
        jpeg_read_scanlines(&decode.info, &row, 1);
    }
    jpeg_finish_decompress(&decode.info);
    return true;
}

}  // namespace

std::unique_ptr<Image> DecodeJpeg(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 4) {
        return nullptr;
    }
    auto decode = std::make_unique<JpegDecode>();
    decode->info.err = jpeg_std_error(&decode->error.manager);
    decode->error.manager.error_exit = ExitOnError;
    decode->error.manager.emit_message = HandleMessage;
    jpeg_create_decompress(&decode->info);
    const bool decoded = RunDecode(*decode, data, size);
    jpeg_destroy_decompress(&decode->info);
    if (!decoded) {
        return nullptr;
    }
    if constexpr (std::endian::native == std::endian::big) {
        for (uint32_t& pixel : decode->image->bits) {
            pixel = __builtin_bswap32(pixel);
        }
    }
    return std::move(decode->image);
}

std::unique_ptr<Image> LoadJpegImage(const std::string& fileName) {
    std::vector<uint8_t> contents;
    if (!ReadFileBytes(fileName, contents)) {
        return nullptr;
    }
    return DecodeJpeg(contents.data(), contents.size());
}

}  // namespace ImageLib
