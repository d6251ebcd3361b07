// SPDX-License-Identifier: MIT
#pragma once

// The bot's steering: from what it sees of one play frame (the player, the scroll position, the
// enemies and the Energon particles in play) it picks the next course, a velocity in pixels per
// frame with both components non-zero (a course along one axis would not steer).
//
// Positions are the sprites' top-left corners; the player touches a sprite whose corner lies
// within 32 pixels on both axes. The policy keeps a map of travel times to the nearest
// particle, with the enemies as walls, and tries every course over a short look-ahead with the
// game's own rules of motion (edges, holding positions, scrolling): courses that run into an
// enemy are dropped, the rest are ranked by how soon they lead to a particle.

#include <cstdint>
#include <vector>

namespace bot {

struct WorldPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const WorldPoint&) const = default;
};

struct Course {
    std::int32_t velX = 0;
    std::int32_t velY = 0;
    bool operator==(const Course&) const = default;
};

// The player's side of one frame: its place on the screen, its course and the map's scroll
// position (its world position is the sum of both).
struct PlayerMotion {
    std::int32_t posX = 0;
    std::int32_t posY = 0;
    std::int32_t velX = 0;
    std::int32_t velY = 0;
    std::int32_t scrollX = 0;
    std::int32_t scrollY = 0;

    WorldPoint World() const { return {scrollX + posX, scrollY + posY}; }
    bool operator==(const PlayerMotion&) const = default;
};

struct Sight {
    PlayerMotion player;
    std::vector<WorldPoint> enemies;
    std::vector<WorldPoint> particles;  // those in play only
};

// One play frame of the player's motion as the game runs it: the move by the course held so
// far, the edges of the play area, the new course (steering comes before the scroll), and the
// scroll with the holding positions. Returns how many edges were rubbed (one rad each).
int StepMotion(PlayerMotion& motion, Course steer);

class SteeringPolicy {
public:
    // The largest pixels per frame on either axis.
    static constexpr std::int32_t kTopSpeed = 6;
    // Frames each course is followed ahead before it is ranked.
    static constexpr int kLookAhead = 16;

    Course Choose(const Sight& sight);

private:
    // Travel times, in grid steps, from every cell of the world to the nearest particle (or to
    // the middle of the world while none is in play), around the enemies.
    void UpdateTravelTimes(const Sight& sight);
    // Estimated frames from a world position to the nearest particle.
    double FramesToGoal(WorldPoint point) const;
    // Frames until a particle is collected on this course (estimated beyond the look-ahead),
    // with rubbed edges and close passes added; a crash ranks far behind, the sooner the worse.
    double Rank(const Sight& sight, const std::vector<WorldPoint>& nearbyEnemies,
                Course course) const;

    std::vector<WorldPoint> mappedEnemies_;
    std::vector<WorldPoint> mappedParticles_;
    bool mapped_ = false;
    std::vector<std::int32_t> stepsToGoal_;
};

}  // namespace bot
