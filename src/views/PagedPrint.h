#pragma once

class QPagedPaintDevice;

namespace quillon {

class CQuillonDoc;
class IViewOptions;

// Prints the configuration document on a paged device (a printer or a PDF
// writer) over its full page, one unit = 1/96 inch.  clientWidth is the
// document pane's width, which the converted layout wraps its command strings
// at.  Returns the pages drawn, or -1 when the device could not be opened.
int PrintWithFooters(QPagedPaintDevice& device, const CQuillonDoc& doc, const IViewOptions& options,
                     int clientWidth);
// The standard print command: the pane's layout on every page, no footer.
int PrintPaneLayout(QPagedPaintDevice& device, const CQuillonDoc& doc, const IViewOptions& options,
                    int clientWidth);

}  // namespace quillon
