#include "ui/songs/AddAlbumWizardLauncher.h"

namespace srk {

namespace {

AddAlbumWizardLauncher::Runner& registered() {
    static AddAlbumWizardLauncher::Runner runner;
    return runner;
}

}  // namespace

void AddAlbumWizardLauncher::setRunner(Runner runner) {
    registered() = std::move(runner);
}

const AddAlbumWizardLauncher::Runner& AddAlbumWizardLauncher::runner() {
    return registered();
}

}  // namespace srk
