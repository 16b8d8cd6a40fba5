// A headless game started in a private data folder, with the status slots
// and the sound requests recorded: the base of the tests that need the
// device (the craft's axes are computed through the draw helper).
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
        m_Folder = std::make_unique<ScopedDataFolder>();
        ORVD3D_GraphicsSystem::GetInstance().ResetForTestingEXT();
        m_Game = std::make_unique<CHeadlessGame>();
        std::string error;
        ASSERT_TRUE(m_Game->Start(error)) << error;
        // Installed after the game's silent sink, so the game's blips are
        // recorded here; the game puts back what it found when it ends.
        m_Sounds = std::make_shared<RecordingSoundSink>();
        m_PreviousSound = SetSoundSink(m_Sounds);
        for (int slot = 0; slot < 4; ++slot)
            m_Status[slot] = StatusRecorder::Bind(slot);
    }

    void TearDown() override
    {
        SetSoundSink(m_PreviousSound);
        m_Game.reset();
        m_Folder.reset();
    }

    CModel& Model() { return m_Game->GetModel(); }
    CModelTestPeer Peer() { return CModelTestPeer(m_Game->GetModel()); }
    HeadlessDevice& Device() { return *m_Game->GetDevice(); }
    std::size_t Blips() const { return m_Sounds->GetRequests().size(); }

    std::unique_ptr<ScopedDataFolder> m_Folder;
    std::unique_ptr<CHeadlessGame> m_Game;
    std::shared_ptr<RecordingSoundSink> m_Sounds;
    std::shared_ptr<SoundSink> m_PreviousSound;
    std::shared_ptr<StatusRecorder> m_Status[4];
};
