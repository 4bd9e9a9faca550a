#pragma once

// The two properties of a report band that the designer's decisions turn on: which band it is
// (PAnelKind) and the tool its clicks draw with (PanelState). The names are the ones the band
// component publishes.

namespace qm::reports {

enum class TPanelKind { rpkHeader, rpkDetail, rpkMemo, rpkFooter };

// In tool bar order of the objects they draw; psPointing is the selection tool.
enum class TPanelState {
    psPointing,
    psLabel,
    psDataLabel,
    psMultiLineDataLabel,
    psLine,
    psImage,
    psDateTime,
    psPageNumber,
    psSymbolLabel,
    psRectangle,
    psEllipse,
    psRoundRectangle,
};

} // namespace qm::reports
