// SPDX-License-Identifier: MIT
#include "steering_policy.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

#include "game/world/world.h"

namespace bot {
namespace {

using namespace zelto;

// The play area, the scroll holds and the contact distance are the game's own (world_measures.h),
// so that the policy lives by the same rules of motion as the player it steers.

// The travel-time map: cells of 8 x 8 world pixels.
constexpr std::int32_t kCell = 8;
constexpr std::int32_t kColumns = kWorldWidth / kCell;
constexpr std::int32_t kRows = kWorldHeight / kCell;
// The player's corner never leaves these world bounds (with a little room from the edges).
constexpr std::int32_t kReachLeft = kPlayAreaLeft + 2;
constexpr std::int32_t kReachRight = kLargestScrollX + kPlayAreaRight - 2;
constexpr std::int32_t kReachTop = kPlayAreaTop + 2;
constexpr std::int32_t kReachBottom = kLargestScrollY + kPlayAreaBottom - 2;
// Cells this close to an enemy's touching range are walls; a wider belt is slow going, so the
// routes keep some room where there is room to keep.
constexpr std::int32_t kWallMargin = 6;
constexpr std::int32_t kBeltMargin = 24;
// The cost of one step into a free or a belt cell; a free step takes kCell / kTopSpeed frames.
constexpr std::int32_t kFreeStep = 4;
constexpr std::int32_t kBeltStep = 10;
constexpr std::int32_t kUnreached = std::numeric_limits<std::int32_t>::max();
// While no particle is in play the player waits near the middle, where the next one is on
// average closest.
constexpr WorldPoint kWaitingPlace{(kReachLeft + kReachRight) / 2, (kReachTop + kReachBottom) / 2};
constexpr std::int32_t kWaitingRadius = 48;

// A rubbed edge costs a rad, which the drain takes every 30 frames: rank it as 30 frames.
constexpr double kRubFrames = 30.0;
// Passing closer than this to an enemy is allowed but counts against a course, so that of
// courses that rank alike the one with room to spare is taken.
constexpr std::int32_t kComfortClearance = 6;
constexpr double kCrashFrames = 1e6;
// A course chosen now moves the player from the second frame on (the first one still moves by
// the course held), and the choice after it from the third.
constexpr int kDecidedFrames = 2;

std::int32_t Chebyshev(WorldPoint a, WorldPoint b) {
    return std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
}

bool Touches(WorldPoint player, WorldPoint other) {
    return Chebyshev(player, other) <= kContactDistance;
}

// A particle can be collected only while the view test of the game sees it.
bool InView(const PlayerMotion& motion, WorldPoint point) {
    return point.x >= motion.scrollX && point.x <= motion.scrollX + kViewTestWidth &&
           point.y >= motion.scrollY && point.y <= motion.scrollY + kViewTestHeight;
}

WorldPoint CellCentre(std::int32_t column, std::int32_t row) {
    return {column * kCell + kCell / 2, row * kCell + kCell / 2};
}

std::int32_t CellIndex(std::int32_t column, std::int32_t row) {
    return row * kColumns + column;
}

// Calls visit(column, row) for every cell whose centre lies within radius of point.
template <typename Visit>
void ForCellsAround(WorldPoint point, std::int32_t radius, Visit visit) {
    const std::int32_t firstColumn = std::max(0, (point.x - radius) / kCell);
    const std::int32_t lastColumn = std::min(kColumns - 1, (point.x + radius) / kCell);
    const std::int32_t firstRow = std::max(0, (point.y - radius) / kCell);
    const std::int32_t lastRow = std::min(kRows - 1, (point.y + radius) / kCell);
    for (std::int32_t row = firstRow; row <= lastRow; ++row) {
        for (std::int32_t column = firstColumn; column <= lastColumn; ++column) {
            if (Chebyshev(CellCentre(column, row), point) <= radius) visit(column, row);
        }
    }
}

}  // namespace

int StepMotion(PlayerMotion& motion, Course steer) {
    motion.posX += motion.velX;
    motion.posY += motion.velY;
    int rubs = 0;
    if (motion.posX <= kPlayAreaLeft) {
        motion.posX = kPlayAreaLeft;
        ++rubs;
    }
    if (motion.posX >= kPlayAreaRight) {
        motion.posX = kPlayAreaRight;
        ++rubs;
    }
    if (motion.posY <= kPlayAreaTop) {
        motion.posY = kPlayAreaTop;
        ++rubs;
    }
    if (motion.posY >= kPlayAreaBottom) {
        motion.posY = kPlayAreaBottom;
        ++rubs;
    }
    if (steer.velX != 0 && steer.velY != 0) {
        motion.velX = steer.velX;
        motion.velY = steer.velY;
    }
    const std::int32_t scrollX = motion.scrollX;
    const std::int32_t scrollY = motion.scrollY;
    std::int32_t nextX = scrollX;
    std::int32_t nextY = scrollY;
    if (motion.posX <= kHoldLeft) {
        nextX = scrollX + motion.velX;
        if (scrollX > kHoldLeft) motion.posX = kHoldLeft;
    }
    if (motion.posX >= kHoldRight) {
        nextX += motion.velX;
        if (scrollX < kScrollHoldRight) motion.posX = kHoldRight;
    }
    if (motion.posY <= kHoldTop) {
        nextY = scrollY + motion.velY;
        if (scrollY > kHoldTop) motion.posY = kHoldTop;
    }
    if (motion.posY >= kHoldBottom) {
        nextY += motion.velY;
        if (scrollY < kScrollHoldBottom) motion.posY = kHoldBottom;
    }
    motion.scrollX = std::clamp(nextX, 0, kLargestScrollX);
    motion.scrollY = std::clamp(nextY, 0, kLargestScrollY);
    return rubs;
}

Course SteeringPolicy::Choose(const Sight& sight) {
    UpdateTravelTimes(sight);
    // Only enemies the look-ahead can reach matter; near the far edges of the world the map
    // scrolls while the player moves on, which doubles the player's pace over the world.
    const WorldPoint start = sight.player.World();
    const std::int32_t reach = kContactDistance + (kLookAhead + 1) * kTopSpeed * 2;
    std::vector<WorldPoint> nearbyEnemies;
    for (const WorldPoint& enemy : sight.enemies) {
        if (Chebyshev(enemy, start) <= reach) nearbyEnemies.push_back(enemy);
    }
    const Course current{sight.player.velX, sight.player.velY};
    Course best{kTopSpeed, kTopSpeed};
    double bestRank = std::numeric_limits<double>::infinity();
    for (std::int32_t velX = -kTopSpeed; velX <= kTopSpeed; ++velX) {
        for (std::int32_t velY = -kTopSpeed; velY <= kTopSpeed; ++velY) {
            if (velX == 0 || velY == 0) continue;
            const Course course{velX, velY};
            // A slight preference for the course held keeps the player from dithering
            // between courses that rank alike.
            const double change = std::abs(velX - current.velX) + std::abs(velY - current.velY);
            const double rank = Rank(sight, nearbyEnemies, course) + 0.01 * change;
            if (rank < bestRank) {
                bestRank = rank;
                best = course;
            }
        }
    }
    return best;
}

void SteeringPolicy::UpdateTravelTimes(const Sight& sight) {
    if (mapped_ && sight.enemies == mappedEnemies_ && sight.particles == mappedParticles_) return;
    mapped_ = true;
    mappedEnemies_ = sight.enemies;
    mappedParticles_ = sight.particles;

    // Step costs: 0 for a wall, the belt's around the enemies, the free one elsewhere.
    std::vector<std::int32_t> stepCost(kColumns * kRows, kFreeStep);
    for (std::int32_t row = 0; row < kRows; ++row) {
        for (std::int32_t column = 0; column < kColumns; ++column) {
            const WorldPoint centre = CellCentre(column, row);
            if (centre.x < kReachLeft || centre.x > kReachRight || centre.y < kReachTop ||
                centre.y > kReachBottom) {
                stepCost[CellIndex(column, row)] = 0;
            }
        }
    }
    for (const WorldPoint& enemy : sight.enemies) {
        ForCellsAround(enemy, kContactDistance + kBeltMargin,
                       [&](std::int32_t column, std::int32_t row) {
                           std::int32_t& cost = stepCost[CellIndex(column, row)];
                           if (cost != 0) cost = kBeltStep;
                       });
    }
    for (const WorldPoint& enemy : sight.enemies) {
        ForCellsAround(
            enemy, kContactDistance + kWallMargin,
            [&](std::int32_t column, std::int32_t row) { stepCost[CellIndex(column, row)] = 0; });
    }

    // Dial's buckets: the step costs are small, so the open cells can be kept by their steps
    // so far modulo one more than the largest step.
    std::array<std::vector<std::int32_t>, kBeltStep + 1> open;
    std::size_t openCount = 0;
    stepsToGoal_.assign(kColumns * kRows, kUnreached);
    const auto addGoal = [&](std::int32_t column, std::int32_t row) {
        const std::int32_t cell = CellIndex(column, row);
        if (stepCost[cell] == 0 || stepsToGoal_[cell] == 0) return;
        stepsToGoal_[cell] = 0;
        open[0].push_back(cell);
        ++openCount;
    };
    for (const WorldPoint& particle : sight.particles) {
        // Beyond the last scroll position's view test a particle can never be collected.
        if (particle.x > kLargestScrollX + kViewTestWidth) continue;
        ForCellsAround(particle, kContactDistance - kCell / 2, addGoal);
    }
    if (openCount == 0) ForCellsAround(kWaitingPlace, kWaitingRadius, addGoal);

    for (std::int32_t steps = 0; openCount > 0; ++steps) {
        std::vector<std::int32_t>& bucket = open[static_cast<std::size_t>(steps) % open.size()];
        // Every step costs at least one, so nothing is added to this bucket while it empties.
        while (!bucket.empty()) {
            const std::int32_t cell = bucket.back();
            bucket.pop_back();
            --openCount;
            if (stepsToGoal_[cell] != steps) continue;  // reached sooner since it was added
            const std::int32_t column = cell % kColumns;
            const std::int32_t row = cell / kColumns;
            for (std::int32_t dy = -1; dy <= 1; ++dy) {
                for (std::int32_t dx = -1; dx <= 1; ++dx) {
                    const std::int32_t nextColumn = column + dx;
                    const std::int32_t nextRow = row + dy;
                    if (nextColumn < 0 || nextColumn >= kColumns || nextRow < 0 ||
                        nextRow >= kRows) {
                        continue;
                    }
                    const std::int32_t next = CellIndex(nextColumn, nextRow);
                    // A diagonal step takes as long as a straight one: each axis has its own
                    // speed.
                    const std::int32_t reached = steps + stepCost[next];
                    if (stepCost[next] == 0 || reached >= stepsToGoal_[next]) continue;
                    stepsToGoal_[next] = reached;
                    open[static_cast<std::size_t>(reached) % open.size()].push_back(next);
                    ++openCount;
                }
            }
        }
    }
}

double SteeringPolicy::FramesToGoal(WorldPoint point) const {
    constexpr double kFramesPerStepUnit =
        static_cast<double>(kCell) / kTopSpeed / static_cast<double>(kFreeStep);
    double best = std::numeric_limits<double>::infinity();
    ForCellsAround(point, kCell, [&](std::int32_t column, std::int32_t row) {
        const std::int32_t steps = stepsToGoal_[CellIndex(column, row)];
        if (steps == kUnreached) return;
        const double frames =
            steps * kFramesPerStepUnit +
            static_cast<double>(Chebyshev(point, CellCentre(column, row))) / kTopSpeed;
        best = std::min(best, frames);
    });
    if (best != std::numeric_limits<double>::infinity()) return best;
    // Shut in by walls (an enemy appeared close by): make for the middle the straight way.
    constexpr double kShutInFrames = 600.0;
    return kShutInFrames + static_cast<double>(Chebyshev(point, kWaitingPlace)) / kTopSpeed;
}

double SteeringPolicy::Rank(const Sight& sight, const std::vector<WorldPoint>& nearbyEnemies,
                            Course course) const {
    PlayerMotion motion = sight.player;
    double rubFrames = 0.0;
    double closeness = 0.0;
    // The frame a particle is collected at. The course is followed for the frames after it that
    // are already decided (a particle may sit right beside an enemy); from then on the next
    // choices take over.
    int collectedAt = 0;
    int lastFrame = kLookAhead;
    for (int frame = 1; frame <= lastFrame; ++frame) {
        rubFrames += kRubFrames * StepMotion(motion, course);
        const WorldPoint player = motion.World();
        for (const WorldPoint& enemy : nearbyEnemies) {
            const std::int32_t clearance = Chebyshev(player, enemy) - kContactDistance;
            // A later crash leaves more frames to find a way out.
            if (clearance <= 0) return kCrashFrames * (kLookAhead + 1 - frame);
            if (clearance < kComfortClearance) closeness += kComfortClearance - clearance;
        }
        if (collectedAt != 0) continue;
        for (const WorldPoint& particle : sight.particles) {
            if (InView(motion, particle) && Touches(player, particle)) collectedAt = frame;
        }
        if (collectedAt != 0) lastFrame = std::min(lastFrame, collectedAt + kDecidedFrames);
    }
    const double frames =
        collectedAt != 0 ? collectedAt : kLookAhead + FramesToGoal(motion.World());
    return frames + rubFrames + closeness;
}

}  // namespace bot
