#include "Graphics/Model3D/ModelRenderer.h"

#include "Engine/Point.h"
#include "Engine/Vector.h"
#include "Graphics/Light.h"
#include "Graphics/Model3D/Material.h"
#include "Graphics/Model3D/Model.h"
#include "Graphics/Model3D/ShadowMesh.h"
#include "Graphics/Texture.h"

#include <GL/gl.h>

namespace
{

// How far the shadow volume's apex lies, in units of the light's position.
const float ApexDistance = -100.0f;

void AddTriangle(VertexArray& volume, const float* a, const float* b, const float* c)
{
    volume.AddVertex(a);
    volume.AddVertex(b);
    volume.AddVertex(c);
}

} // namespace

ModelRenderer::ModelRenderer(Model* model) : model(model), profiler(model->GetPath()) {}

ModelRenderer::~ModelRenderer() = default;

void ModelRenderer::Draw()
{
    if (!model->IsReady())
        return;
    CreateMeshMatrices();
    const Profiler::Scope scope(profiler);
    glPushMatrix();
    glMultMatrixf(objectMatrix.Data());
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    bool texCoordsOn = false;
    const Model3D::MeshList& meshes = model->GetMeshes();
    for (std::size_t i = 0; i < meshes.size(); ++i)
        DrawMesh(*meshes[i], meshMatrices[i], texCoordsOn);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    if (texCoordsOn)
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void ModelRenderer::DrawShadowVolume(const Light* light)
{
    if (!model->IsReady())
        return;
    CreateMeshMatrices();
    const Model3D::MeshList& meshes = model->GetMeshes();
    for (std::size_t i = 0; i < meshes.size(); ++i)
        CastShadow(*meshes[i], meshMatrices[i], *light);
}

void ModelRenderer::CreateMeshMatrices()
{
    if (meshMatricesCreated)
        return;
    meshMatrices.assign(model->GetMeshes().size(), Math::Matrix::Identity);
    meshMatricesCreated = true;
}

void ModelRenderer::DrawMesh(const Model3D::Mesh& mesh, const Math::Matrix& meshMatrix,
                             bool& texCoordsOn) const
{
    glPushMatrix();
    glMultMatrixf(meshMatrix.Data());
    glVertexPointer(3, GL_FLOAT, 0, mesh.positions.data());
    glNormalPointer(GL_FLOAT, 0, mesh.normals.data());
    glTexCoordPointer(2, GL_FLOAT, 0, mesh.texCoords.data());
    for (const std::unique_ptr<Model3D::SubMesh>& subMesh : mesh.subMeshes)
    {
        const Material& material = subMesh->material ? *subMesh->material : Material::Default;
        const bool pushed = material.Apply();
        material.SetTexCoordState(texCoordsOn);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(3 * subMesh->triangleCount),
                       GL_UNSIGNED_INT, subMesh->indices.data());
        if (pushed)
            material.texture->PopTextureMatrix();
    }
    glPopMatrix();
}

// The light is taken into the mesh's own frame, where the face planes are.
void ModelRenderer::CastShadow(Model3D::Mesh& mesh, const Math::Matrix& meshMatrix,
                               const Light& light) const
{
    Model3D::ShadowMesh& shadow = *mesh.shadowMesh;
    Math::Matrix toMesh = objectMatrix * meshMatrix;
    toMesh.InvertRigid();
    Math::Point lightPosition = light.GetPosition();
    lightPosition *= toMesh;
    const float apex[] = {ApexDistance * lightPosition[0], ApexDistance * lightPosition[1],
                          ApexDistance * lightPosition[2]};
    for (Model3D::ShadowMesh::Face& face : shadow.faces)
        face.facesApex = face.a * apex[0] + face.b * apex[1] + face.c * apex[2] +
                             face.d * lightPosition[3] >
                         0.0f;

    // A border edge counts its missing face as facing the apex.
    shadow.volume.Clear();
    const float* positions = mesh.positions.data();
    for (const Model3D::ShadowMesh::Edge& edge : shadow.edges)
    {
        const bool first = shadow.faces[edge.face0].facesApex;
        const bool second = edge.face1 < 0 || shadow.faces[edge.face1].facesApex;
        if (first == second)
            continue;
        const float* lower = &positions[edge.lower * 3];
        const float* upper = &positions[edge.upper * 3];
        if (first)
            AddTriangle(shadow.volume, apex, lower, upper);
        else
            AddTriangle(shadow.volume, apex, upper, lower);
    }

    glPushMatrix();
    glMultMatrixf(objectMatrix.Data());
    glFrontFace(GL_CCW);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
    shadow.volume.Draw();
    glFrontFace(GL_CW);
    glStencilOp(GL_KEEP, GL_KEEP, GL_DECR);
    shadow.volume.Draw();
    glPopMatrix();
}
