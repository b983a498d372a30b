#pragma once
// Decoding an image as the launcher's splash does, outside any window.

// mode: "ole" (the splash's own order: picture loader, then the imaging
// component) or "wic" (the imaging component alone). points: "x,y" each.
int reportPicture(const wchar_t* mode, const wchar_t* path, wchar_t** points, int count);
