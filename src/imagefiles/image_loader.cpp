// Format order, the alpha files and their merge.
#include "imagefiles/image_loader.h"

#include <atomic>
#include <cctype>

#include "imagefiles/readers.h"

namespace ImageLib {

namespace {

std::atomic<bool> gAutoLoadAlpha{true};
std::atomic<uint32_t> gAlphaComposeColor{0xFFFFFF};

using Reader = std::unique_ptr<Image> (*)(const std::string&);

struct Format {
    const char* extension;
    Reader reader;
};

constexpr Format kFormats[] = {
    {".tga", LoadTgaImage}, {".jpg", LoadJpegImage},     {".png", LoadPngImage},
    {".gif", LoadGifImage}, {".j2k", LoadJpeg2000Image}, {".jp2", LoadJpeg2000Image},
};

bool EqualIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return i == a.size() && b[i] == '\0';
}

size_t LastSeparator(const std::string& fileName) {
    const size_t backslash = fileName.rfind('\\');
    const size_t slash = fileName.rfind('/');
    if (backslash == std::string::npos) {
        return slash;
    }
    if (slash == std::string::npos) {
        return backslash;
    }
    return std::max(backslash, slash);
}

std::unique_ptr<Image> LoadByFormat(const std::string& fileName) {
    const std::string extension = FileExtension(fileName);
    const std::string base = fileName.substr(0, fileName.size() - extension.size());
    for (const Format& format : kFormats) {
        if (!extension.empty() && !EqualIgnoringCase(extension, format.extension)) {
            continue;
        }
        std::unique_ptr<Image> image = format.reader(base + format.extension);
        if (image != nullptr) {
            return image;
        }
    }
    return nullptr;
}

std::unique_ptr<Image> LoadAlphaImage(const std::string& fileName) {
    const size_t separator = LastSeparator(fileName);
    const size_t filePart = separator == std::string::npos ? 0 : separator + 1;
    const std::string underscored = fileName.substr(0, filePart) + "_" + fileName.substr(filePart);
    std::unique_ptr<Image> alpha = LoadImageFile(underscored, false);
    if (alpha == nullptr) {
        alpha = LoadImageFile(fileName + "_", false);
    }
    return alpha;
}

}  // namespace

std::string FileExtension(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) {
        return std::string();
    }
    const size_t separator = LastSeparator(fileName);
    if (separator != std::string::npos && dot < separator) {
        return std::string();
    }
    return fileName.substr(dot);
}

std::unique_ptr<Image> LoadImageFile(const std::string& fileName, bool lookForAlpha) {
    if (!gAutoLoadAlpha.load()) {
        lookForAlpha = false;
    }
    std::unique_ptr<Image> image = LoadByFormat(fileName);
    if (!lookForAlpha) {
        return image;
    }
    std::unique_ptr<Image> alpha = LoadAlphaImage(fileName);
    if (alpha == nullptr) {
        return image;
    }
    if (image != nullptr) {
        if (image->width == alpha->width && image->height == alpha->height) {
            for (size_t i = 0; i < image->bits.size(); ++i) {
                image->bits[i] = (image->bits[i] & 0x00FFFFFFu) | ((alpha->bits[i] & 0xFFu) << 24);
            }
        }
        return image;
    }
    const uint32_t compose = gAlphaComposeColor.load() & 0x00FFFFFFu;
    for (uint32_t& pixel : alpha->bits) {
        pixel = ((pixel & 0xFFu) << 24) | compose;
    }
    return alpha;
}

void SetAutoLoadAlpha(bool autoLoad) {
    gAutoLoadAlpha.store(autoLoad);
}

bool GetAutoLoadAlpha() {
    return gAutoLoadAlpha.load();
}

void SetAlphaComposeColor(uint32_t rgb) {
    gAlphaComposeColor.store(rgb & 0x00FFFFFFu);
}

uint32_t GetAlphaComposeColor() {
    return gAlphaComposeColor.load();
}

std::unique_ptr<Image> LoadJpeg2000Image(const std::string&) {
    // No JPEG 2000 decoder exists on this platform; such names load nothing.
    return nullptr;
}

}  // namespace ImageLib
