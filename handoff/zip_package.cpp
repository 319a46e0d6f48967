// SPDX-License-Identifier: GPL-3.0-or-later
#include "handoff/zip_package.h"

#include <zip.h>

#include <cstdio>
#include <memory>

namespace veltrane::handoff {

namespace {

// 1980-01-01, the earliest date a zip entry holds: no date at all, in effect.
constexpr time_t kEntryTime = 315532800;

std::string ErrorText(zip_error_t* error) {
    const std::string text = zip_error_strerror(error);
    zip_error_fini(error);
    return text;
}

}  // namespace

ZipOutput ZipParts(const std::vector<DocxPart>& parts) {
    ZipOutput out;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (buffer == nullptr) {
        out.error = ErrorText(&error);
        return out;
    }
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        zip_source_free(buffer);
        out.error = ErrorText(&error);
        return out;
    }
    zip_source_keep(buffer);  // read back after the archive is closed
    for (const DocxPart& part : parts) {
        zip_source_t* data = zip_source_buffer(archive, part.bytes.data(), part.bytes.size(), 0);
        const zip_int64_t index =
            data == nullptr ? -1 : zip_file_add(archive, part.name.c_str(), data, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            if (data != nullptr) {
                zip_source_free(data);
            }
            out.error = zip_strerror(archive);
            zip_discard(archive);
            zip_source_free(buffer);
            return out;
        }
        zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), kEntryTime, 0);
    }
    if (zip_close(archive) != 0) {
        out.error = zip_strerror(archive);
        zip_discard(archive);
        zip_source_free(buffer);
        return out;
    }
    zip_stat_t stat;
    if (zip_source_stat(buffer, &stat) != 0 || zip_source_open(buffer) != 0) {
        out.error = zip_error_strerror(zip_source_error(buffer));
        zip_source_free(buffer);
        return out;
    }
    out.bytes.resize(static_cast<std::size_t>(stat.size));
    const zip_int64_t read = zip_source_read(buffer, out.bytes.data(), stat.size);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) {
        out.error = zip_error_strerror(zip_source_error(buffer));
        out.bytes.clear();
    }
    zip_source_close(buffer);
    zip_source_free(buffer);
    return out;
}

}  // namespace veltrane::handoff
