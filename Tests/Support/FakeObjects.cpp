#include "Support/FakeObjects.h"

FakeModel::~FakeModel()
{
    log.push_back(name + " deleted");
}

void FakeModel::Update()
{
    log.push_back(name + " update");
}

void FakeModel::SetController(ControllerInterface* controller)
{
    this->controller = controller;
}

FakeView::~FakeView()
{
    log.push_back(name + " deleted");
}

void FakeView::SetController(ControllerInterface* controller)
{
    this->controller = controller;
}

void FakeView::Draw()
{
    log.push_back(name + " draw");
}

void FakeView::DrawShadowVolume(Light* light)
{
    this->light = light;
    log.push_back(name + " shadow");
}

FakeBehavior::~FakeBehavior()
{
    log.push_back(name + " deleted");
}

void FakeBehavior::Update()
{
    log.push_back(name + " update");
}

void FakeBehavior::Draw()
{
    log.push_back(name + " draw");
}
