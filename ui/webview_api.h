// The C API of the webview library (0.12), loaded at run time.
#pragma once

namespace webview_api {

using webview_t = void*;
using BindFn = void (*)(const char* id, const char* request, void* arg);

// Native handle kinds of webview_get_native_handle.
constexpr int kUiWindow = 0;
constexpr int kUiWidget = 1;
constexpr int kBrowserController = 2;

struct Api {
    webview_t (*create)(int debug, void* window) = nullptr;
    int (*destroy)(webview_t w) = nullptr;
    void* (*get_native_handle)(webview_t w, int kind) = nullptr;
    int (*set_html)(webview_t w, const char* html) = nullptr;
    int (*bind)(webview_t w, const char* name, BindFn fn, void* arg) = nullptr;
    int (*unbind)(webview_t w, const char* name) = nullptr;
    int (*ret)(webview_t w, const char* id, int status, const char* result) = nullptr;
};

}  // namespace webview_api
