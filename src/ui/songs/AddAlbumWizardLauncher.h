#pragma once

#include <functional>

class QWidget;

namespace srk {

struct ProgramContext;

enum class AddAlbumWizard { Compilation, SingleArtist };

// The song form hands a new song to an add-album wizard through here, so that it does not depend on
// the wizards' windows. Without a registered runner the form is used instead.
class AddAlbumWizardLauncher {
public:
    using Runner = std::function<void(ProgramContext&, AddAlbumWizard, QWidget*)>;

    static void setRunner(Runner runner);
    static const Runner& runner();
};

}  // namespace srk
