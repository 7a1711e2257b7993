#include "GameFixture.h"

#include "platform/QtSingleApplication.h"

#include <QSettings>

#include <utility>

// A stored anisotropy the panel does not offer settles at the nearest level it does (0, "off", at the low
// end): the options scene saves it once, and its next pass finds nothing changed and writes nothing.
TEST_F(GameTest, StoredAnisotropySettlesWithinThePanelsLevels) {
    QSettings* store = tvt::QtSingleApplication::appSettings();
    for (const auto& [stored, settled] : {std::pair{-1, 0}, {0, 0}, {8, 8}, {9, 8}}) {
        SCOPED_TRACE(stored);
        store->setValue("general/Running", 0);
        store->setValue("Graphic/Anisotropic", stored);
        engine->loadSettings(0);
        EXPECT_EQ(engine->anisotropic, settled);
        World::discard();
        world = World::instance();
        world->updatePanelScene();
        store->remove("Graphic/Anisotropic");
        world->updatePanelScene();
        EXPECT_FALSE(store->contains("Graphic/Anisotropic")) << "saved again on the next pass";
    }
    store->clear();
}
