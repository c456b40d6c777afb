#include "ui/support/ProgramFixture.h"

#include "ui/ProgramContext.h"
#include "ui/support/ModalWindows.h"

namespace srk::testing {

void ProgramFixture::startProgram() {
    Program::Options o;
    o.dataFolder = data.path();
    o.configFolder = config.path();
    o.messages = &messages;
    o.showSplash = false;
    o.catchSignals = catchSignals;
    program = std::make_unique<Program>(o);
    ASSERT_TRUE(program->start()) << program->stopText().toStdString();
    messages.clear();
}

void ProgramFixture::TearDown() {
    finishModalWaits();
    program.reset();
}

Store& ProgramFixture::store() {
    return *program->context().store;
}

ProgramContext& ProgramFixture::context() {
    return program->context();
}

} // namespace srk::testing
