// GDI+ runs only while something of ours needs it, and is never started or shut down from
// DllMain. Every picture and every frame window holds a reference; the first reference starts
// GDI+ and the last release shuts it down, after the platform fonts have let go of their GDI+
// objects (fonts only need GDI+ to be running, they hold no reference: the process-wide fonts
// live until the module unloads and must not keep GDI+ running until then, nor free GDI+
// objects inside DllMain). Nothing here runs when the library loads or unloads: a plug-in scan
// that builds an effect without opening its editor never starts GDI+.
// [ui-thread]
#pragma once

namespace VSTGUI {

// Takes a reference, starting GDI+ if it is not running; false (no reference taken) when GDI+
// cannot start.
bool acquireGdiplus();
// Gives a reference back; the last one shuts GDI+ down.
void releaseGdiplus();
// For fonts: starts GDI+ without a reference when nothing runs it yet (it then runs until the
// next last release); false when it cannot start.
bool requireGdiplus();

// Observations for tests: whether GDI+ runs, how often it was started in this process, and how
// many platform fonts hold GDI+ objects.
bool gdiplusRunning();
int gdiplusStartCount();
int gdiplusLiveFonts();

// Implemented by the fonts: every platform font lets go of its GDI+ objects (the process-wide
// fonts drop their platform fonts and make them again on next use).
void releaseGdiplusFonts();
// The private typefaces' part of it, and how many of them hold GDI+ objects now.
void releasePrivateFontsGdiplusObjects();
int privateFontsHoldingGdiplus();

}  // namespace VSTGUI
