// Frame overhead of drawing a node tree without drawing anything: a visit of a 5,000-node tree
// with transforms, beside a plain loop that applies the same matrices from a std::vector.
// Runs in a GL context when one can be opened (the matrix stack is then real), else without.
#include "engine/base/CCAffineTransform.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCNode.h"
#include "engine/platform/CCGL.h"
#include "engine/platform/CCGLWindow.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <vector>

using namespace kvengine;

namespace {

constexpr int kNodes = 5000;

std::unique_ptr<CCGLWindow> g_window;

void openContext() {
    if (g_window) return;
    g_window = createPlatformWindow();
    if (!g_window->create("bench", false, 64, 64)) g_window.reset();
}

/// 5,000 nodes: 50 branches of 10 groups of 10 leaves (plus the inner nodes), each moved,
/// turned and scaled.
CCNode* buildTree(std::vector<CCNode*>& all) {
    auto* root = new CCNode();
    all.push_back(root);
    int made = 1;
    int index = 0;
    while (made < kNodes) {
        CCNode* branch = CCNode::create();
        root->addChild(branch);
        all.push_back(branch);
        ++made;
        for (int g = 0; g < 10 && made < kNodes; ++g) {
            CCNode* group = CCNode::create();
            branch->addChild(group);
            all.push_back(group);
            ++made;
            for (int l = 0; l < 8 && made < kNodes; ++l) {
                CCNode* leaf = CCNode::create();
                group->addChildAtZ(leaf, l % 3 - 1);
                all.push_back(leaf);
                ++made;
            }
        }
    }
    for (CCNode* n : all) {
        ++index;
        n->setContentSize(CCSize(10, 10));
        n->setAnchorPoint(CCPoint(0.5f, 0.5f));
        n->setPosition(CCPoint(static_cast<float>(index % 17), static_cast<float>(index % 13)));
        n->setRotation(static_cast<float>(index % 360));
        n->setScale(1.0f + static_cast<float>(index % 5) * 0.1f);
    }
    CCAutoreleasePoolStack::getInstance().getCurrentPool()->clear();
    return root;
}

void visitTree(benchmark::State& state, bool moveEveryFrame) {
    openContext();
    std::vector<CCNode*> all;
    CCNode* root = buildTree(all);
    float angle = 0.0f;
    for (auto _ : state) {
        if (moveEveryFrame) {
            angle += 1.0f;
            for (CCNode* n : all)
                n->setRotation(angle);
        }
        root->visit();
    }
    state.counters["nodes"] = static_cast<double>(all.size());
    root->release();
    CCDirector::destroyInstance();
    CCAutoreleasePoolStack::getInstance().clearAllPools();
}

void plainLoop(benchmark::State& state, bool moveEveryFrame) {
    openContext();
    std::vector<CCAffineTransform> transforms(kNodes);
    std::vector<std::array<float, 16>> matrices(kNodes);
    for (int i = 0; i < kNodes; ++i) {
        transforms[i] = translateAffineTransform(CCAffineTransformIdentity, static_cast<float>(i % 17), 1.0f);
        matrices[i] = {};
    }
    float angle = 0.0f;
    for (auto _ : state) {
        angle += 1.0f;
        for (int i = 0; i < kNodes; ++i) {
            CCAffineTransform t = transforms[i];
            if (moveEveryFrame) {
                t = rotateAffineTransform(t, -angle * 0.017453292f);
                t = scaleAffineTransform(t, 1.1f, 1.1f);
                t = translateAffineTransform(t, -5.0f, -5.0f);
            }
            std::array<float, 16>& m = matrices[i];
            m[0] = t.a;
            m[1] = t.b;
            m[4] = t.c;
            m[5] = t.d;
            m[12] = t.tx;
            m[13] = t.ty;
            m[10] = m[15] = 1.0f;
            glPushMatrix();
            glMultMatrixf(m.data());
            glPopMatrix();
        }
    }
}

void BM_VisitStaticTree(benchmark::State& state) {
    visitTree(state, false);
}
void BM_PlainStaticMatrices(benchmark::State& state) {
    plainLoop(state, false);
}
void BM_VisitMovingTree(benchmark::State& state) {
    visitTree(state, true);
}
void BM_PlainMovingMatrices(benchmark::State& state) {
    plainLoop(state, true);
}

BENCHMARK(BM_VisitStaticTree);
BENCHMARK(BM_PlainStaticMatrices);
BENCHMARK(BM_VisitMovingTree);
BENCHMARK(BM_PlainMovingMatrices);

} // namespace
