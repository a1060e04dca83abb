#include "physics/Shape.h"

#include "physics/BoundingRectangle.h"
#include "physics/Circle.h"
#include "physics/LineBuffer.h"
#include "physics/Point.h"
#include "physics/Polygon.h"

std::unique_ptr<Shape> CreateShape(std::uint32_t type)
{
    switch (type)
    {
    case shape::LineBuffer:
        return std::make_unique<LineBuffer>();
    case shape::Polygon:
        return std::make_unique<Polygon>();
    case shape::Circle:
        return std::make_unique<Circle>();
    case shape::Point:
        return std::make_unique<Point>();
    case shape::BoundingRectangle:
        return std::make_unique<BoundingRectangle>();
    default:
        return nullptr;
    }
}
