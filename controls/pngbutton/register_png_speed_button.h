#pragma once
// Registers TPngSpeedButton with the form reader: PngImage as the bytes of a
// PNG file, PngOptions as a set. Registers TSpeedButton first; safe to call again.

void RegisterPngSpeedButtonClass();
