#pragma once

class QPagedPaintDevice;

namespace quillon {

class CQuillonDoc;
class IViewOptions;

// Prints the configuration document on a paged device (a printer or a PDF
// writer) over the part of the sheet the printer reaches, one unit = 1/96
// inch, laid out at that part's width and height.  Returns the pages drawn,
// or -1 when the device could not be opened.
int PrintWithFooters(QPagedPaintDevice& device, const CQuillonDoc& doc, const IViewOptions& options);
// The standard print command: the pane's layout on every page, no footer.
int PrintPaneLayout(QPagedPaintDevice& device, const CQuillonDoc& doc, const IViewOptions& options);

}  // namespace quillon
