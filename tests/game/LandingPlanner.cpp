// Finds a key script that flies the craft from its start to a landing on
// the target, and writes it for the replay test.
//
// A small autopilot decides the keys of every tick from the craft's state:
// it flies to the thermal column nearest the target, circles in it up to an
// exit height, then glides to the target, choosing its speed so that its
// glide path ends just above the roof, and slows to landing speed over the
// last units. The exit height and the aim height are searched until a run
// lands; the keys of that run are the script. The flight goes through the
// real headless game, so the script replays exactly.
//
// Usage: landing_planner OUTPUT.keys   (run from anywhere; exit 1 when no
// run lands)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "GameTestSupport.h"
#include "ORVD3D_GraphicsSystem.h"
#include "ORV_BoundingBox.h"
#include "ORV_DrawHelper.h"
#include "headlessgame.h"
#include "keyscript.h"

namespace {

constexpr double kTargetX = 23.0, kTargetZ = 16.0;
constexpr double kThermalX = 0.0, kThermalZ = 15.0;  // column 4, top 11
constexpr std::uint64_t kMaxTicks = 4000;
constexpr float kLandingSpeed = 0.045f;  // a step below the limit

struct Plan
{
    double exitHeight;  // leave the thermal at this height
    double aimHeight;   // the glide path ends this high over the target
};

struct Outcome
{
    bool landed = false;
    std::uint64_t landingTick = 0;
    KeyScript keys;
};

double Wrap(double degrees)
{
    while (degrees > 180.0)
        degrees -= 360.0;
    while (degrees < -180.0)
        degrees += 360.0;
    return degrees;
}

class Autopilot
{
public:
    explicit Autopilot(const Plan& plan) : m_Plan(plan) {}

    unsigned Keys(CModel& model)
    {
        const D3DXVECTOR3 p = model.GetSoarer().GetXformInfo().GetTranslation();
        const D3DXVECTOR3 f = model.GetSoarerForward();
        const double heading = std::atan2(f.x, f.z) * 180.0 / M_PI;
        const double toThermal = std::hypot(kThermalX - p.x, kThermalZ - p.z);
        const double toTarget = std::hypot(kTargetX - p.x, kTargetZ - p.z);

        if (m_Phase == Phase::ToThermal && toThermal < 1.5)
            m_Phase = Phase::Climb;
        if (m_Phase == Phase::Climb && p.y >= m_Plan.exitHeight)
            m_Phase = Phase::Glide;

        double goalX = kTargetX, goalZ = kTargetZ;
        float speed = 0.1f;
        switch (m_Phase) {
        case Phase::ToThermal:
            goalX = kThermalX;
            goalZ = kThermalZ;
            speed = 0.1f;
            break;
        case Phase::Climb:
            // Chasing the centre at landing speed circles inside the column.
            goalX = kThermalX;
            goalZ = kThermalZ;
            speed = 0.05f;
            break;
        case Phase::Glide: {
            // The craft sinks speed / 10 - 0.021 per step and moves speed
            // per step: that loses (0.021 / speed - 0.1) per unit flown.
            const double distance = std::max(toTarget - 0.7, 0.1);
            const double slope = (p.y - m_Plan.aimHeight) / distance;
            const double wanted = slope <= -0.09 ? 0.2 : 0.021 / (slope + 0.1);
            speed = static_cast<float>(std::clamp(wanted, 0.045, 0.2));
            if (toTarget < 2.5)
                speed = kLandingSpeed;
            break;
        }
        }

        unsigned keys = 0;
        const double bearing = std::atan2(goalX - p.x, goalZ - p.z) * 180.0 / M_PI;
        const double wantedBank = std::clamp(Wrap(bearing - heading) * 2.0, -20.0, 20.0);
        const double bank = model.GetRollAngle();
        if (bank < wantedBank - 0.5)
            keys |= kKeyLeft;  // a left bank turns the heading up
        else if (bank > wantedBank + 0.5)
            keys |= kKeyRight;

        const float current = model.GetSpeed();
        if (current < speed - 0.0025f && model.GetPitchAngle() > -10.0)
            keys |= kKeyUp;
        else if (current > speed + 0.0025f && model.GetPitchAngle() < 10.0)
            keys |= kKeyDown;
        return keys;
    }

private:
    enum class Phase { ToThermal, Climb, Glide };
    Plan m_Plan;
    Phase m_Phase = Phase::ToThermal;
};

Outcome Fly(const Plan& plan)
{
    Outcome outcome;
    ORVD3D_GraphicsSystem::GetInstance().ResetForTestingEXT();
    CHeadlessGame game;
    std::string error;
    if (!game.Start(error)) {
        std::cerr << "landing_planner: " << error << std::endl;
        return outcome;
    }
    Autopilot pilot(plan);
    for (std::uint64_t tick = 1; tick <= kMaxTicks; ++tick) {
        const unsigned keys = pilot.Keys(game.GetModel());
        outcome.keys.Append(keys);
        game.Tick(keys);
        if (game.GetModel().IsLanded()) {
            outcome.landed = true;
            outcome.landingTick = tick;
            break;
        }
    }
    return outcome;
}

// The craft's collision width: its mesh box width times its scale.
float CollisionWidth()
{
    ORVD3D_GraphicsSystem::GetInstance().ResetForTestingEXT();
    CHeadlessGame game;
    std::string error;
    if (!game.Start(error))
        return 0.0f;
    ORV_DrawHelper plain;
    ORV_SceneNode& soarer = CModelTestPeer(game.GetModel()).Soarer();
    const ORV_BoundingBox box = soarer.GetBounds(plain, false);
    return box.Width() * soarer.GetXformInfo().GetScale().x;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: landing_planner OUTPUT.keys" << std::endl;
        return 2;
    }
    const std::filesystem::path output = std::filesystem::absolute(argv[1]);
    ScopedDataFolder folder;
    const float width = CollisionWidth();
    for (double exitHeight = 11.0; exitHeight >= 7.0; exitHeight -= 0.25) {
        for (double aimHeight : {5.35, 5.3, 5.4, 5.25, 5.5}) {
            const Outcome outcome = Fly({exitHeight, aimHeight});
            std::cerr << "exit " << exitHeight << ", aim " << aimHeight << ": "
                      << (outcome.landed ? "lands at tick " + std::to_string(outcome.landingTick) : "no landing")
                      << std::endl;
            if (!outcome.landed)
                continue;
            std::ostringstream text;
            text << "# Flies the craft from its start to a landing on the target.\n"
                 << "# Made by landing_planner (exit height " << exitHeight << ", aim height " << aimHeight << ").\n"
                 << "# Lands at tick " << outcome.landingTick << "; collision width " << width << ".\n";
            outcome.keys.Write(text);
            std::ofstream out(output);
            out << text.str();
            if (!out.flush()) {
                std::cerr << "landing_planner: cannot write " << output << std::endl;
                return 1;
            }
            std::cout << "landing at tick " << outcome.landingTick << ", collision width " << width << ", written to "
                      << output.string() << std::endl;
            return 0;
        }
    }
    std::cerr << "landing_planner: no plan lands" << std::endl;
    return 1;
}
