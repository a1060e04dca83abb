#pragma once

class Entity;

// What the collision pass tells an entity about its contacts. The gameplay scripts
// implement it, so physics never needs to know them; each call names its own entity
// first.
class ContactListener
{
public:
    virtual void OnCollision(Entity& /*self*/, Entity& /*other*/) {}
    virtual void OnStatusGained(unsigned /*flag*/) {}
    virtual void OnStatusGiven(unsigned /*flag*/) {}

protected:
    ContactListener() = default;
    ContactListener(const ContactListener&) = default;
    ContactListener& operator=(const ContactListener&) = default;
    ~ContactListener() = default;
};
