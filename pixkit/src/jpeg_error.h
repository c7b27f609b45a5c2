// libjpeg's error manager for pixkit: its default would end the process, this one writes the
// message to the debug output and jumps back to the codec, which returns a result code.
// Image data that ends early (the file ends, or a marker stands where entropy-coded data
// should continue) counts as an error, not a warning: libjpeg would fill the rest of the
// picture with grey and hand out a half-decoded image, after decoding every remaining row.
#pragma once

#include "diagnostics.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace pixkit {

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    const char *name;

    static void Exit(j_common_ptr info)
    {
        auto *self = reinterpret_cast<JpegError *>(info->err);
        char message[JMSG_LENGTH_MAX];
        (*info->err->format_message)(info, message);
        Debug("JPEG6b: %s\n    file = %s\n", message, self->name);
        std::longjmp(self->jump, 1);
    }

    static void Emit(j_common_ptr info, int level)
    {
        if (level < 0 && (info->err->msg_code == JWRN_JPEG_EOF || info->err->msg_code == JWRN_HIT_MARKER))
            Exit(info);
        if (level <= 0) {
            char message[JMSG_LENGTH_MAX];
            (*info->err->format_message)(info, message);
            Debug("JPEG6b: %s\n", message);
        }
    }

    static void Output(j_common_ptr) {}

    jpeg_error_mgr *Install(const char *fileName)
    {
        name = fileName;
        jpeg_std_error(&manager);
        manager.error_exit = Exit;
        manager.emit_message = Emit;
        manager.output_message = Output;
        return &manager;
    }
};

} // namespace pixkit
