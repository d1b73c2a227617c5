#pragma once
// Fitting a caption into the room of a bar: paths lose their leading folders first.
#include <functional>
#include <string>

namespace gui {

// Width of a text in the font it will be drawn in.
using TextMeasure = std::function<int(const std::wstring&)>;

// Shortens a path so that it fits into `room` pixels by replacing leading folders with
// "...\": C:\A\B\file becomes C:\...\B\file, C:\...\file, ...\file and finally file.
// Returns the shortest form when even that does not fit.
std::wstring ShortenCaptionPath(const std::wstring& name, int room, const TextMeasure& measure);

// The caption as drawn: shortened as a path, then cut at the end until it fits (which
// may leave nothing).
std::wstring FitCaption(const std::wstring& caption, int room, const TextMeasure& measure);

} // namespace gui
