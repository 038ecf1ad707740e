#pragma once
// Identifiers of platform interfaces and command groups that mingw's import
// libraries do not carry. Kept under names of our own, so they never clash
// with a definition a newer libuuid may bring.
#include <windows.h>

namespace UiToolkit {

// IDownloadManager: a browser asks its host's service provider for one
// before it downloads a file itself.
inline const IID kIidDownloadManager = {
    0x988934a4, 0x064b, 0x11d3, {0xbb, 0x80, 0x00, 0x10, 0x4b, 0x35, 0xe7, 0xf9}};

// ICustomDoc: lets the host install its IDocHostUIHandler on a document.
inline const IID kIidCustomDoc = {
    0x3050f3f0, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};

// The command group a document sends its host's IOleCommandTarget for
// script errors.
inline const GUID kCgidDocHostCommandHandler = {
    0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

// The system's web browser control.
inline const CLSID kClsidSystemWebBrowser = {
    0x8856f961, 0x340a, 0x11d0, {0xa9, 0x6b, 0x00, 0xc0, 0x4f, 0xd7, 0x05, 0xa2}};

// The browser's event interface (DWebBrowserEvents2).
inline const IID kDiidWebBrowserEvents2 = {
    0x34a715a0, 0x6587, 0x11d0, {0x92, 0x4a, 0x00, 0x20, 0xaf, 0xc7, 0xac, 0x4d}};

}  // namespace UiToolkit
