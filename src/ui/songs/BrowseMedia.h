#pragma once

#include "ui/songs/LookupBrowse.h"

namespace srk {

class WindowRegistry;

// The list of media formats, in name order: a workspace window from the frame and a picker for the
// song and album windows.
class BrowseMedia : public LookupBrowse {
    Q_OBJECT
public:
    static const QString Procedure;

    explicit BrowseMedia(ProgramContext& context, WindowRequest request = WindowRequest::None,
                         QWidget* parent = nullptr);

    static Design design();
    // The picker: on completed `chosen` is the medium picked.
    static WindowResponse select(ProgramContext& context, Record& chosen, QWidget* parent = nullptr);
    static void registerWith(WindowRegistry& windows);
};

}  // namespace srk
