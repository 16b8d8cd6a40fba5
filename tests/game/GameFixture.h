// A headless game started in a private data folder, with the sound requests
// recorded.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "GameTestSupport.h"
#include "HeadlessDevice.h"
#include "ORVD3D_GraphicsSystem.h"
#include "SoundSinks.h"
#include "headlessgame.h"
#include "keyscript.h"

class GameFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ORVD3D_GraphicsSystem::GetInstance().ResetForTestingEXT();
        m_Game = std::make_unique<CHeadlessGame>();
        std::string error;
        ASSERT_TRUE(m_Game->Start(error)) << error;
        // Installed after the game's silent sink, so the game's blips are
        // recorded here; the game puts back what it found when it ends.
        m_PreviousSound = SetSoundSink(m_Sounds);
    }
    void TearDown() override
    {
        SetSoundSink(m_PreviousSound);
        m_Game.reset();
    }

    CModel& Model() { return m_Game->GetModel(); }
    CModelTestPeer Peer() { return CModelTestPeer(m_Game->GetModel()); }
    HeadlessDevice& Device() { return *m_Game->GetDevice(); }
    std::size_t Blips() const { return m_Sounds->GetRequests().size(); }

    ScopedDataFolder m_Folder;
    std::unique_ptr<CHeadlessGame> m_Game;
    std::shared_ptr<RecordingSoundSink> m_Sounds = std::make_shared<RecordingSoundSink>();
    std::shared_ptr<SoundSink> m_PreviousSound;
};
